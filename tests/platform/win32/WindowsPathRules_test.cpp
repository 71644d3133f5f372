// Paths on Windows: '\' and '/' both separate, a drive's root is a root, and
// a path keeps the separator it is written with.
#include <gtest/gtest.h>

#include "platform/fs/Path.h"
#include "platform/fs/PathRules.h"

using namespace kestrin::fs;

TEST(WindowsPathRules, DrivesAndBothSeparators) {
    EXPECT_EQ(joinPath("C:\\Program Files", "Zor soft"), "C:\\Program Files\\Zor soft");
    EXPECT_EQ(joinPath("/work/dist", "zor.shx"), "/work/dist/zor.shx") << "a path keeps its separator";
    EXPECT_EQ(joinPath("C:\\a", "D:\\x"), "D:\\x");
    EXPECT_EQ(parentPath("C:\\Program Files\\Zor soft"), "C:\\Program Files");
    EXPECT_EQ(parentPath("C:\\Kestrin"), "C:\\");
    EXPECT_EQ(parentPath("C:\\"), "C:\\");
    EXPECT_EQ(fileName("C:\\Kestrin\\Kestrin.arx"), "Kestrin.arx");
    EXPECT_EQ(fileName("C:x.dxf"), "x.dxf");
    EXPECT_EQ(normalPath("C:\\a\\..\\b\\.\\c"), "C:\\b\\c");
    EXPECT_EQ(normalPath("C:\\..\\x"), "C:\\x");
    EXPECT_TRUE(isAbsolutePath("C:\\x"));
    EXPECT_TRUE(isAbsolutePath("\\x"));
    EXPECT_FALSE(isAbsolutePath("C:x")) << "relative to drive C's current folder";
    EXPECT_FALSE(isAbsolutePath("sub\\x"));
}
