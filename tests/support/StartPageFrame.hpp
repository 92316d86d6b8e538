#pragma once
// The start page's frame as the game receives it, one trace line a call:
// every component selects its colour (and a text its font) before it draws;
// first the status line's panel (its text is not drawn while it is empty),
// then the group of the page, whose children are the title, the selection bar
// behind the selected row, and the four rows, 15 units apart from y 100.

#include <string>
#include <vector>

namespace zudo::test {

inline std::vector<std::string> startPageFrame(int selection, const std::string& damage,
                                               const std::string& transmission)
{
    std::string highlight = "DrawHighlight 0 ";
    highlight.append(std::to_string(100 + 15 * selection)).append(" 200 15");
    std::vector<std::string> calls{
        "BeginPage 0 0 0 0",
        "SelectMenuColor 3", "DrawPanel 0 465 640 15",
        "SelectMenuColor 3",
        "SelectMenuColor 4", "SelectFont 1", "DrawText 50 70 \"Zuzuzevo\"",
        "SelectMenuColor 3", highlight,
    };
    const std::string rows[] = {"Hotlaps", "Rallies", "Car Damage: " + damage, "Transmission: " + transmission};
    int y = 100;
    for (const std::string& row : rows) {
        std::string text = "DrawText 50 ";
        text.append(std::to_string(y)).append(" \"").append(row).append("\"");
        calls.insert(calls.end(), {"SelectMenuColor 3", "SelectFont 0", text});
        y += 15;
    }
    return calls;
}

} // namespace zudo::test
