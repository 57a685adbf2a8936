#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Catalogue.h"

namespace dorvint {
namespace {

TEST(CatalogueKey, LowersOnlyAsciiCapitals) {
  EXPECT_EQ(CatalogueKey("UNLHA32"), "unlha32");
  EXPECT_EQ(CatalogueKey("7-ZIP32"), "7-zip32");
  EXPECT_EQ(CatalogueKey(" UnLha32 "), " unlha32 ");        // no trimming
  EXPECT_EQ(CatalogueKey("\xC4\x82\xA0"), "\xC4\x82\xA0");  // other bytes untouched
}

TEST(FindCatalogueEntry, MatchesKeysExactly) {
  ASSERT_NE(FindCatalogueEntry("unrar"), nullptr);
  ASSERT_NE(FindCatalogueEntry("unrar32"), nullptr);
  EXPECT_STREQ(FindCatalogueEntry("unrar")->libraryFile, "Unrar.dll");
  EXPECT_STREQ(FindCatalogueEntry("unrar32")->libraryFile, "Unrar32.dll");
  EXPECT_EQ(FindCatalogueEntry("UNLHA32"), nullptr);  // keys are lower case
  EXPECT_EQ(FindCatalogueEntry(" unlha32"), nullptr);
  EXPECT_EQ(FindCatalogueEntry(""), nullptr);
  EXPECT_EQ(FindCatalogueEntry("unlha32.dll"), nullptr);
}

TEST(LibraryCatalogue, KeysAreUniqueAndLowerCase) {
  std::set<std::string> keys;
  for (const CatalogueEntry& entry : LibraryCatalogue) {
    EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
    EXPECT_EQ(CatalogueKey(entry.key), entry.key);
  }
}

}  // namespace
}  // namespace dorvint
