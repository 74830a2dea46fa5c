// Loading templates beside the document. Templates that fail to load are the fault tests'
// concern.

#include "TemplateList.h"
#include "AliasTable.h"
#include "TestSupport.h"

namespace {

using namespace tarnwick_test;

class TemplateListTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(m_dir / "Tank1.odf", "[GameObject]\nmaxHealth = 100\n");
        WriteBytes(m_dir / "plain.odf", "[GameObject]\nmaxHealth = 200\n");
        WriteBytes(m_dir / "alias.txt", "tank1.odf T1\n");
        ASSERT_EQ(m_aliases.Load(m_dir / "alias.txt"), 1);
    }

    CScratchDir m_dir;
    CAliasTable m_aliases;
    CTemplateList m_list;
};

TEST_F(TemplateListTest, LoadedTemplatesTakeTheirAliasesAndStayInOrder) {
    CMessageCapture messages;
    ASSERT_EQ(m_list.LoadTemplate(m_dir / "Tank1.odf", m_aliases), 1);
    ASSERT_EQ(m_list.LoadTemplate(m_dir / "plain.odf", m_aliases), 1);
    ASSERT_EQ(m_list.LoadTemplate(m_dir / "Tank1.odf", m_aliases), 1); // twice is twice
    EXPECT_TRUE(messages.Texts().empty());
    ASSERT_EQ(m_list.Size(), 3u);
    EXPECT_EQ(m_list.At(0).m_strAlias, "T1");
    EXPECT_EQ(m_list.At(0).m_strFileName, "Tank1.odf");
    EXPECT_EQ(m_list.At(0).m_fields[6].m_nValue, 100);
    EXPECT_EQ(m_list.At(0).m_bModified, 0);
    EXPECT_EQ(m_list.At(1).m_strAlias, "");
    EXPECT_EQ(m_list.At(1).m_fields[6].m_nValue, 200);
    EXPECT_EQ(m_list.At(2).m_strAlias, "T1");
    EXPECT_EQ(m_list.Paths(),
              (Texts{m_dir / "Tank1.odf", m_dir / "plain.odf", m_dir / "Tank1.odf"}));
}

TEST_F(TemplateListTest, RemoveAtKeepsTheOthersInPlace) {
    for (const char* name : {"Tank1.odf", "plain.odf", "Tank1.odf", "plain.odf"})
        ASSERT_EQ(m_list.LoadTemplate(m_dir / name, m_aliases), 1);
    const CTankFile* third = &m_list.At(2);
    m_list.RemoveAt(1);
    ASSERT_EQ(m_list.Size(), 3u);
    EXPECT_EQ(&m_list.At(1), third); // templates do not move when others go
    m_list.RemoveAt(2);
    m_list.RemoveAt(0);
    ASSERT_EQ(m_list.Size(), 1u);
    EXPECT_EQ(&m_list.At(0), third);
    EXPECT_EQ(m_list.Paths(), Texts{m_dir / "Tank1.odf"});
    m_list.Clear();
    EXPECT_TRUE(m_list.Empty());
    EXPECT_TRUE(m_list.Paths().empty());
}

} // namespace
