// The car damage a rally carries from stage to stage: a record of the host's,
// made, repaired and copied by the host's own routines, and kept in the
// rally's damage file exactly as it lies in memory.

#include <string>

#include "io/FileStreams.hpp"
#include "rally/Rally.hpp"
#include "rally/RallyFile.hpp"
#include "util/Log.hpp"
#include "util/mem/Bindings.hpp"
#include "util/mem/HostCall.hpp"

namespace zudo::rally {

namespace {

using util::mem::HostAddress;
using util::mem::HostBlock;

// The reset is the record's own virtual operation in slot 3.
constexpr std::uint32_t resetSlotOffset = 3 * 4;

} // namespace

std::unique_ptr<HostBlock> Rally::makeDamageRecord()
{
    auto block = std::make_unique<HostBlock>(damageRecordSize);
    if (block->address().isNull()) {
        return nullptr;
    }
    if (!util::mem::bindings::constructCarDamage(block->address()).has_value()) {
        util::Log log;
        if (log.isEnabled()) {
            log << "zudo::rally::Rally::rallyDamage() - the host cannot make a car damage record"
                << util::endLog;
        }
        return nullptr;
    }
    return block;
}

bool Rally::repairDamageRecord(HostAddress record)
{
    return util::mem::callVirtual<void>(record, resetSlotOffset);
}

HostAddress Rally::rallyDamage()
{
    if (isHotlap_) {
        return HostAddress();
    }
    if (!damage_) {
        damage_ = makeDamageRecord();
    }
    return damage_ ? damage_->address() : HostAddress();
}

bool Rally::resetDamage()
{
    if (!damage_) {
        return false;
    }
    return repairDamageRecord(damage_->address());
}

bool Rally::saveDamage()
{
    if (!damage_) {
        return false;
    }
    std::string bytes(damageRecordSize, '\0');
    if (!damage_->address().tryReadBytes(0, bytes.data(), damageRecordSize)) {
        return fileFailure("Could not save the car damage: the game's record cannot be read");
    }
    std::string failure;
    return io::replaceFileContents(DamageFile(*this).fullPath(), bytes, io::StreamMode::Binary, &failure) ||
           fileFailure(std::move(failure));
}

bool Rally::loadDamage()
{
    if (isHotlap_) {
        return false;
    }
    std::ifstream in = io::openInputStream(DamageFile(*this).fullPath(), io::StreamMode::Binary);
    if (!in.is_open()) {
        return false;
    }
    std::string bytes(damageRecordSize, '\0');
    in.read(bytes.data(), damageRecordSize);
    if (in.gcount() != std::streamsize(damageRecordSize)) {
        return false; // a short file would leave half a record
    }
    const std::unique_ptr<HostBlock> scratch = makeDamageRecord();
    if (!scratch) {
        return false;
    }
    scratch->address().writeBytes(0, bytes.data(), damageRecordSize);
    const HostAddress damage = rallyDamage();
    if (damage.isNull()) {
        return false;
    }
    resetDamage();
    return util::mem::bindings::copyCarDamage(damage, scratch->address()).has_value();
}

} // namespace zudo::rally
