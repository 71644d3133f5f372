#include "render/TagReader.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrin::render {
namespace {

// The first tag of each code, whether the reader kept it or looks for it in
// the record (a code past its table, or one first seen after it is full).
TEST(TagReader, EachCodeAnswersItsFirstTag) {
    dxf::Record r;
    r.type = "TEXT";
    for (int code = 300; code > 240; --code) r.tags.push(code, std::to_string(code));  // 60 codes
    r.tags.push(300, "again");
    r.tags.push(1000, "extended");
    r.tags.push(1000, "second");
    r.tags.push(-3, "{");
    const TagReader t(r);
    for (int code = 300; code > 240; --code) EXPECT_EQ(t.integer(code), code) << code;
    EXPECT_EQ(t.str(1000), "extended");
    EXPECT_EQ(t.str(-3), "{");
    EXPECT_FALSE(t.has(10));
    EXPECT_EQ(t.num(10, 7.5), 7.5);

    dxf::Record few;
    few.tags.push(10, " +2.5 ");
    few.tags.push(10, "9");
    const TagReader f(few);
    EXPECT_EQ(f.num(10), 2.5);
    EXPECT_FALSE(f.has(20));
    EXPECT_EQ(f.point(10).y, 0);
}

}  // namespace
}  // namespace kestrin::render
