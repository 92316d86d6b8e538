#pragma once
// The list of hotlaps or of rallies: a window of 23 rows with "Back" below
// it, the details of the entry under the cursor (a hotlap's records, a
// rally's record and saved progress), and the way into an entry.

#include <string>
#include <vector>

#include "rally/Rally.hpp"
#include "ui/AutoScroller.hpp"
#include "ui/Dialog.hpp"

namespace zudo::rally {
class RallyList;
}

namespace zudo::ui {

class MainDialog : public Dialog {
public:
    // Entries shown at once.
    static constexpr int window = 23;
    // Hotlap records shown at once: (400 - 50 - 75) / 15.
    static constexpr int recordRows = 18;

    // The hotlaps (or the rallies) of the process's list.
    MainDialog(Dialog* parent, bool hotlaps);
    // The hotlaps (or the rallies) of list.
    MainDialog(Dialog* parent, bool hotlaps, const rally::RallyList& list);
    ~MainDialog() override;

    // Deletes a child that returned, pages the records when their time has
    // come, then draws.
    Dialog* draw() override;
    // Up and down move the cursor through the entries and "Back" (wrapping);
    // select opens the entry or goes back; 'b' goes back; 'n', 'p' and 't'
    // page the records.
    Dialog* HandleFrontEndEvents(char key, bool up, bool down, bool left, bool right,
                                 bool select) override;
    void createComponents(Page& page) override;

    bool showsHotlaps() const { return hotlaps_; }
    const std::vector<rally::RallyPtr>& entries() const { return entries_; }
    int row() const { return row_; }
    int offset() const { return offset_; }
    // The entry under the cursor; entries().size() is "Back".
    int selected() const { return selected_; }
    const AutoScroller& scroller() const { return scroller_; }

private:
    int count() const { return static_cast<int>(entries_.size()); }
    void moveUp();
    void moveDown();
    Dialog* openSelected();
    void createListComponents(Page& page);
    // The details of entry; throws when its files cannot be read.
    ComponentRef createRallyDetailsComponents(const rally::RallyPtr& entry);
    void addHotlapRecords(GroupComponent& group, rally::Rally& hotlap);
    void addRallyRecord(GroupComponent& group, rally::Rally& rally);
    void reportUnreadableRecords(const rally::Rally& entry);
    void stopPagingRecords();

    bool hotlaps_;
    std::vector<rally::RallyPtr> entries_;
    int row_ = 0;
    int offset_ = 0;
    int selected_ = 0;
    AutoScroller scroller_;
    // The status text this dialog put up about data it could not read, so
    // that it is taken down again when the cursor moves on.
    std::string dataWarning_;
};

} // namespace zudo::ui
