#pragma once
// A stage's times beside their references: the stage-details block (a column
// per reference), the difference cell of the results page and the record cell
// of the standings. References: the rally's own record, the best on the stage
// with the same surface across all rallies, the best on the stage across all
// rallies, and the game's own result for the stage.

#include "rally/Stage.hpp"
#include "ui/Components.hpp"

namespace zudo::rally {
class RallyList;
}

namespace zudo::ui {

// Columns of the stage-details block.
enum StageDetailsFlags : int {
    CurrentTimeColumn = 1,
    RallyRecordColumn = 2,
    SurfaceRecordColumn = 4,
    OverallRecordColumn = 8,
    StageRecordColumn = 16,
    SplitRows = 32,
};

// The times a stage's own time is compared with; null where there is none.
struct StageReferences {
    rally::StageTimePtr record;  // the rally's own record of the stage
    rally::StageTimePtr surface; // the best on the stage, same surface, all rallies
    rally::StageTimePtr overall; // the best on the stage, all rallies
    rally::StageTimePtr host;    // the game's own result for the stage number
};

// The references of stage among the rallies of list. Only those the flags
// name (columns 2, 4, 8 and 16) are looked up; the others stay null.
StageReferences stageReferences(rally::Stage& stage, const rally::RallyList& list,
                                int flags = RallyRecordColumn | SurfaceRecordColumn |
                                            OverallRecordColumn | StageRecordColumn);

// The block "Stage Details" at position with the columns flags asks for.
void createStageDetailsComponents(Page& page, const rally::StagePtr& stage, Point position,
                                  int flags);
// The same with the references among the rallies of list (the process's
// list above).
void createStageDetailsComponents(Page& page, const rally::StagePtr& stage, Point position,
                                  int flags, const rally::RallyList& list);

// The signed difference own - reference at position: red when above 0, else
// green.
ComponentRef makeDifferenceCell(Point position, float own, float reference);

// A standings cell: the difference of the stage's finish to the reference
// (green at 0 or less, red above) or, without a finish, the reference's time;
// then a blank and the reference's surface name. Without a reference the time
// text of 0.
ComponentRef makeRecordCell(Point position, const rally::Stage& stage,
                            const rally::StageTimePtr& reference);

// The words of a time's condition as the details show them in two rows,
// separated by blanks (unset codes left out): conditions and sky; time of
// day, surface and track.
std::string conditionsAndSkyWords(const rally::StageTime& time);
std::string dayAndSurfaceWords(const rally::StageTime& time);

} // namespace zudo::ui
