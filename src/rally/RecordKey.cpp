#include "rally/RecordKey.hpp"

namespace zudo::rally {

namespace {

bool componentMatches(int query, int value)
{
    return query == RecordKey::any || query == value;
}

} // namespace

bool RecordKey::matches(const RecordKey& key) const
{
    return componentMatches(surface, key.surface) && componentMatches(tyres, key.tyres) &&
           componentMatches(conditions, key.conditions) && componentMatches(track, key.track);
}

bool RecordKey::isExact() const
{
    return surface >= 0 && tyres >= 0 && conditions >= 0 && track >= 0;
}

} // namespace zudo::rally
