// Template set files: one tank file path a line. Set files that cannot be read or written are
// the fault tests' concern.

#include "TemplateSetFile.h"
#include "TestSupport.h"

namespace {

using namespace tarnwick_test;

TEST(TemplateSetFile, ReadTakesEveryLineAsAPathAndWriteEndsEachWithLf) {
    CScratchDir dir;
    const std::string longPath = "/" + std::string(3000, 'p') + ".odf";
    const struct {
        std::string bytes;
        Texts paths;
        bool written; // writing the paths gives the bytes
    } cases[] = {
        {"", {}, true},
        {"\n", {""}, true},
        {"/a.odf\nC:\\t\\b.odf\n", {"/a.odf", "C:\\t\\b.odf"}, true},
        {"/a.odf\n/b.odf", {"/a.odf", "/b.odf"}, false},
        {"/a.odf\r\nb c.odf \r\n", {"/a.odf", "b c.odf "}, false},
        {"/a.odf\n\n\n/a.odf\n", {"/a.odf", "", "", "/a.odf"}, true},
        {"x\r\r\n", {"x\r"}, false},
        {longPath + "\n\xe9t\xc3\xa9.odf\n", {longPath, "\xe9t\xc3\xa9.odf"}, true},
    };
    CMessageCapture messages;
    for (const auto& c : cases) {
        WriteBytes(dir / "set.txt", c.bytes);
        Texts paths{"left over"};
        ASSERT_TRUE(ReadTemplateSetFile(dir / "set.txt", paths));
        EXPECT_EQ(paths, c.paths) << "bytes \"" << c.bytes.substr(0, 40) << "\"";
        if (c.written) {
            ASSERT_TRUE(WriteTemplateSetFile(dir / "set.txt", c.paths));
            EXPECT_EQ(ReadBytes(dir / "set.txt"), c.bytes);
        }
    }
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(dir.Entries(), Texts{"set.txt"});
}

} // namespace
