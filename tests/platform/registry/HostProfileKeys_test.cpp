// The profile keys the setup writes and the host reads: one rule for which
// Menus values are menu groups, so the host sees every group the setup
// counted and no other.
#include "platform/registry/HostProfileKeys.h"

#include <gtest/gtest.h>

namespace kestrin::registry {
namespace {

TEST(HostProfileKeys, MenuGroupValuesBeginWithExactlyGroupAndKeysNestUnderTheProfile) {
    for (const char* name : {"Group1", "Group12", "Group", "GroupX"}) EXPECT_TRUE(isMenuGroupValue(name)) << name;
    for (const char* name : {"group1", "GROUP1", "Grou", "", "MyGroup1"}) EXPECT_FALSE(isMenuGroupValue(name)) << name;
    EXPECT_EQ(profileKey("Drafting", "Menus"), std::string(kHostKey) + "\\Profiles\\Drafting\\Menus");
    EXPECT_EQ(profileKey("<<Unnamed Profile>>"), profilesKey() + "\\<<Unnamed Profile>>");
}

}  // namespace
}  // namespace kestrin::registry
