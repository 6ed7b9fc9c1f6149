// The office actions' search over the whole device.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "actions/document_search.h"
#include "tests/actions/store_fixture.h"

namespace {

using DocumentSearch = actiontest::StoreTest;

void Touch(const std::filesystem::path& p) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p) << "x";
}

TEST_F(DocumentSearch, FindsEveryMatchingFileInFolderOrderAndNeverFollowsALink) {
  Touch(m_root / "My Documents" / "b.DOC");
  Touch(m_root / "My Documents" / "a.doc");
  Touch(m_root / "My Documents" / "Sub" / "c.doc");
  Touch(m_root / "My Documents" / "notes.txt");
  Touch(m_root / "Voice" / "memo.wav");
  Touch(m_root / "Voice" / "memo.pwi");
  // A link to the root would loop; a link to a file is no document either.
  std::filesystem::create_directory_symlink(m_root, m_root / "My Documents" / "loop");
  std::filesystem::create_symlink(m_root / "My Documents" / "a.doc", m_root / "My Documents" / "link.doc");
  EXPECT_EQ(FindDocuments(u"\\", u"*.doc"),
            (std::vector<std::u16string>{u"\\My Documents\\a.doc", u"\\My Documents\\b.DOC",
                                         u"\\My Documents\\Sub\\c.doc"}));
  EXPECT_EQ(FindDocuments(u"\\", u"*.pwi|*.wav"),
            (std::vector<std::u16string>{u"\\Voice\\memo.pwi", u"\\Voice\\memo.wav"}));
  EXPECT_TRUE(FindDocuments(u"\\", u"*.xls").empty());
}

TEST_F(DocumentSearch, StopsAtItsDepthAndCountLimits) {
  std::filesystem::path deep = m_root;
  for (int i = 0; i < 6; ++i) deep /= "d" + std::to_string(i);
  Touch(deep / "deep.doc");
  for (int i = 0; i < 10; ++i) Touch(m_root / ("f" + std::to_string(i) + ".doc"));
  mivoDocumentSearchLimits limits;
  limits.maxDepth = 3;
  EXPECT_EQ(FindDocuments(u"\\", u"*.doc", limits).size(), 10u);
  limits.maxDepth = 12;
  EXPECT_EQ(FindDocuments(u"\\", u"*.doc", limits).size(), 11u);
  limits.maxFiles = 4;
  EXPECT_EQ(FindDocuments(u"\\", u"*.doc", limits).size(), 4u);
}

}  // namespace
