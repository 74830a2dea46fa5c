// Loading templates beside the document. Templates that fail to load are the fault tests'
// concern.

#include "TemplateList.h"
#include "AliasTable.h"
#include "TestSupport.h"

namespace {

using namespace tarnwick_test;

TEST(TemplateList, TemplatesTakeTheirAliasesStayInOrderAndKeepTheirPlaces) {
    CScratchDir dir;
    WriteBytes(dir / "Tank1.odf", "[GameObject]\nmaxHealth = 100\n");
    WriteBytes(dir / "plain.odf", "[GameObject]\nmaxHealth = 200\n");
    CAliasTable aliases;
    aliases.LoadText("tank1.odf T1\n");
    CTemplateList list;
    CMessageCapture messages;
    for (const char* name : {"Tank1.odf", "plain.odf", "Tank1.odf", "plain.odf"}) // twice is twice
        ASSERT_EQ(list.LoadTemplate(dir / name, aliases), 1);
    EXPECT_TRUE(messages.Texts().empty());
    Texts loaded;
    for (std::size_t i = 0; i < list.Size(); ++i)
        loaded.push_back(list.At(i).m_strAlias + " " + list.At(i).m_strFileName + " " +
                         std::to_string(list.At(i).m_fields[6].m_nValue));
    EXPECT_EQ(loaded,
              (Texts{"T1 Tank1.odf 100", " plain.odf 200", "T1 Tank1.odf 100", " plain.odf 200"}));
    EXPECT_EQ(list.Paths(),
              (Texts{dir / "Tank1.odf", dir / "plain.odf", dir / "Tank1.odf", dir / "plain.odf"}));

    const CTankFile* third = &list.At(2);
    list.RemoveAt(1);
    EXPECT_EQ(&list.At(1), third); // templates do not move when others go
    list.RemoveAt(2);
    list.RemoveAt(0);
    EXPECT_EQ(&list.At(0), third);
    EXPECT_EQ(list.Paths(), Texts{dir / "Tank1.odf"});
    list.Clear();
    EXPECT_TRUE(list.Empty() && list.Paths().empty());
}

} // namespace
