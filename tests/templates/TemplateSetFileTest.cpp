// Template set files: one tank file path a line. Set files that cannot be read or written are
// the fault tests' concern.

#include "TemplateSetFile.h"
#include "TestSupport.h"

namespace {

using namespace tarnwick_test;

TEST(TemplateSetFile, ReadTakesEveryLineAsAPath) {
    CScratchDir dir;
    const std::string longPath = "/" + std::string(3000, 'p') + ".odf";
    const struct {
        std::string bytes;
        Texts want;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"/a.odf\n/b.odf\n", {"/a.odf", "/b.odf"}},
        {"/a.odf\n/b.odf", {"/a.odf", "/b.odf"}},
        {"/a.odf\r\nb c.odf \r\n", {"/a.odf", "b c.odf "}},
        {"/a.odf\n\n\n/b.odf\n", {"/a.odf", "", "", "/b.odf"}},
        {"x\r\r\n", {"x\r"}},
        {longPath + "\n\xe9t\xc3\xa9.odf\n", {longPath, "\xe9t\xc3\xa9.odf"}},
    };
    CMessageCapture messages;
    for (const auto& c : cases) {
        WriteBytes(dir / "set.txt", c.bytes);
        Texts paths{"left over"};
        ASSERT_TRUE(ReadTemplateSetFile(dir / "set.txt", paths));
        EXPECT_EQ(paths, c.want) << "bytes \"" << c.bytes.substr(0, 40) << "\"";
    }
    EXPECT_TRUE(messages.Texts().empty());
}

TEST(TemplateSetFile, WriteUsesLfAndReadsBack) {
    CScratchDir dir;
    CMessageCapture messages;
    const Texts paths{"/t/a.odf", "C:\\tanks\\b.odf", "rel ative.odf", "/t/a.odf"};
    ASSERT_TRUE(WriteTemplateSetFile(dir / "set.txt", paths));
    EXPECT_EQ(ReadBytes(dir / "set.txt"), "/t/a.odf\nC:\\tanks\\b.odf\nrel ative.odf\n/t/a.odf\n");
    Texts back;
    ASSERT_TRUE(ReadTemplateSetFile(dir / "set.txt", back));
    EXPECT_EQ(back, paths);

    ASSERT_TRUE(WriteTemplateSetFile(dir / "set.txt", {}));
    EXPECT_EQ(ReadBytes(dir / "set.txt"), "");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(dir.Entries(), Texts{"set.txt"});
}

} // namespace
