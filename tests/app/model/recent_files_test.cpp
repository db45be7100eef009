#include "app/model/recent_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace app::model {
namespace {

TEST(RecentFiles, MostRecentFirstWithoutRepeatsAndAtMostTen) {
    TRecentFiles list;
    int changes = 0;
    list.OnChanged = [&changes] { ++changes; };
    for (int k = 1; k <= 12; ++k)
        list.Add("/walls/w" + std::to_string(k) + ".dn5d");
    ASSERT_EQ(list.Entries().size(), 10u);
    EXPECT_EQ(list.Entries().front(), "/walls/w12.dn5d");
    EXPECT_EQ(list.Entries().back(), "/walls/w3.dn5d");  // w1 and w2 dropped
    EXPECT_EQ(changes, 12);

    list.Add("/walls/w7.dn5d");  // an entry already there moves up, nothing is dropped
    EXPECT_EQ(list.Entries().front(), "/walls/w7.dn5d");
    EXPECT_EQ(list.Entries()[1], "/walls/w12.dn5d");
    EXPECT_EQ(list.Entries().back(), "/walls/w3.dn5d");
    EXPECT_EQ(list.Entries().size(), 10u);
    list.Add("/walls/w7.dn5d");  // opening the same file twice keeps one entry at the top
    list.Add("");
    EXPECT_EQ(changes, 13);
    EXPECT_EQ(std::count(list.Entries().begin(), list.Entries().end(), "/walls/w7.dn5d"), 1);
}

TEST(RecentFiles, SettingsValuesAndMenuCaptions) {
    TRecentFiles list;
    list.SetValues(
        {"/a/one.dn5d", "", "/a/b/two.dn5d", "/a/one.dn5d", "/other/three.dn5d", "", "", "", "", ""});
    ASSERT_EQ(list.Entries(),
              (std::vector<std::string>{"/a/one.dn5d", "/a/b/two.dn5d", "/other/three.dn5d"}));
    const auto values = list.Values();
    EXPECT_EQ(values[2], "/other/three.dn5d");
    EXPECT_EQ(values[3], "");
    EXPECT_EQ(values[9], "");

    EXPECT_EQ(list.Caption(0, "/a"), "1 one.dn5d");
    EXPECT_EQ(list.Caption(1, "/a/"), "2 b/two.dn5d");
    EXPECT_EQ(list.Caption(2, "/a"), "3 /other/three.dn5d");
    EXPECT_EQ(list.Caption(0, "/a/o"), "1 /a/one.dn5d");  // a folder name's prefix is no folder
    EXPECT_EQ(list.Caption(0, ""), "1 /a/one.dn5d");
    EXPECT_EQ(list.Caption(3, "/a"), "");
    list.Clear();
    EXPECT_TRUE(list.Entries().empty());
}

}  // namespace
}  // namespace app::model
