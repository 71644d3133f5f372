// What the benchmarks' generated drawings share.
#pragma once

#include <utility>

#include "host/dxf/DxfDocument.h"

namespace kestrin::bench {

// Adds the own-font style "ZOR" (Zor.shx) to the drawing's STYLE table.
inline void addOwnFontStyle(dxf::Document& doc) {
    for (dxf::Table& t : doc.tables)
        if (t.head.tags[t.head.tags.find(2)].value == "STYLE") {
            dxf::Record style{"STYLE", {}, 0};
            for (auto [code, value] : {std::pair<int, const char*>{2, "ZOR"}, {70, "0"}, {40, "0.0"}, {41, "1.0"},
                                       {50, "0.0"}, {71, "0"}, {42, "2.5"}, {3, "Zor.shx"}, {4, ""}})
                style.tags.push(code, value);
            t.entries.push_back(std::move(style));
        }
}

}  // namespace kestrin::bench
