// Saving tank files: the layout, the float text, and saves that fail without harming anything.

#include "TankFile.h"
#include "TankFileWriter.h"
#include "TestSupport.h"

#include <cfloat>
#include <sys/stat.h>

namespace {

using namespace tarnwick_test;

const char* const kEmptyDocument = "[GameObject]\n\n\n"
                                   "[CraftClass]\n\n\n"
                                   "[WingmanClass]\n\n\n"
                                   "[HovercraftClass]\n\n\n"
                                   "[TurrettankClass]\n\n\n"
                                   "[WalkerClass]\n\n\n"
                                   "[ProducerClass]\n\n\n"
                                   "[ArmoryClass]\n\n\n"
                                   "[PersonClass]\n\n\n";

const std::string kFltMax = "340282346638528859811704183484516925440.000000";

void SetFloat(CTankFile& file, int index, float value) {
    file.m_fields[index]->m_fValue = value;
    file.m_fields[index]->m_bPresent = 1;
}

TEST(TankFileSave, EmptyDocumentWritesEveryHeaderAndTwoEmptyLines) {
    CScratchDir dir;
    CMessageCapture messages;
    CTankFile file;
    file.Reset();
    file.m_bModified = 1;
    ASSERT_EQ(file.SaveAs(dir / "new.odf"), 1);
    EXPECT_EQ(ReadBytes(dir / "new.odf"), kEmptyDocument);
    EXPECT_EQ(file.m_bModified, 0);
    EXPECT_EQ(file.m_strPath, dir / "new.odf");
    EXPECT_EQ(file.m_strFileName, "new.odf");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"new.odf"});
}

TEST(TankFileSave, FloatsHaveSixDecimalsAndReadBackTheSame) {
    CTankFile file;
    SetFloat(file, 49, 0.1f);
    SetFloat(file, 50, 16777217.0f);
    SetFloat(file, 51, FLT_MAX);
    SetFloat(file, 52, -0.25f);
    SetFloat(file, 53, 0.0000001f);
    SetFloat(file, 54, -FLT_MAX);
    SetFloat(file, 55, 1234.5678f);
    const std::string text = WriteTankText(file);
    EXPECT_NE(text.find("[WingmanClass]\n\n"
                        "setAltitude = 0.100000\n"
                        "accelDragStop = 16777216.000000\n"
                        "accelDragFull = " +
                        kFltMax +
                        "\n"
                        "alphaTrack = -0.250000\n"
                        "alphaDamp = 0.000000\n"
                        "pitchPitch = -" +
                        kFltMax +
                        "\n"
                        "pitchThrust = 1234.567749\n\n"
                        "[HovercraftClass]\n"),
              std::string::npos)
        << text;

    CScratchDir dir;
    ASSERT_EQ(file.SaveAs(dir / "f.odf"), 1);
    CTankFile back;
    ASSERT_EQ(back.Load(dir / "f.odf"), 1);
    EXPECT_EQ(back.m_fields[51]->m_fValue, FLT_MAX);
    EXPECT_EQ(back.m_fields[54]->m_fValue, -FLT_MAX);
    EXPECT_EQ(back.m_fields[52]->m_fValue, -0.25f);
    EXPECT_EQ(back.m_fields[53]->m_bPresent, 1);
    EXPECT_EQ(back.m_fields[53]->m_fValue, 0.0f);
    EXPECT_EQ(WriteTankText(back), text);
}

TEST(TankFileSave, FieldOfAnUnknownTypeWritesNothing) {
    CTankFile file;
    file.m_fields[6]->m_nType = static_cast<FieldType>(9);
    file.m_fields[6]->m_bPresent = 1;
    file.m_fields[7]->m_nValue = -3;
    file.m_fields[7]->m_bPresent = 1;
    const std::string text = WriteTankText(file);
    EXPECT_EQ(text.find("maxHealth"), std::string::npos);
    EXPECT_NE(text.find("\nmaxAmmo = -3\n\n[CraftClass]"), std::string::npos);
}

TEST(TankFileSave, CrLfFileIsSavedWithCrLf) {
    CScratchDir dir;
    WriteBytes(dir / "w.odf", "[GameObject]\r\nmaxHealth = 4\r\n");
    CTankFile file;
    ASSERT_EQ(file.Load(dir / "w.odf"), 1);
    ASSERT_EQ(file.Save(), 1);
    const std::string saved = ReadBytes(dir / "w.odf");
    EXPECT_EQ(saved.substr(0, 33), "[GameObject]\r\n\r\nmaxHealth = 4\r\n\r\n");
    std::size_t lf = 0, crlf = 0;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] == '\n') {
            ++lf;
            crlf += i > 0 && saved[i - 1] == '\r';
        }
    }
    EXPECT_EQ(lf, 28u);
    EXPECT_EQ(crlf, lf);
}

// What every failed save must leave: one message, result 0, the flag as it was, the old file
// byte for byte, and no stray temporary file.
void ExpectFailedSave(CTankFile& file, const CScratchDir& dir, const std::string& target,
                      const std::string& oldBytes) {
    const auto before = dir.Entries();
    CMessageCapture messages;
    file.m_bModified = 1;
    EXPECT_EQ(file.Save(), 0);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Error saving tank file '" + file.m_strPath + "'."});
    EXPECT_EQ(file.m_bModified, 1);
    if (!oldBytes.empty()) {
        EXPECT_EQ(ReadBytes(target), oldBytes);
    }
    EXPECT_EQ(dir.Entries(), before);
}

TEST(TankFileSave, FailedSavesChangeNothing) {
    CScratchDir dir;
    CTankFile file;
    file.m_fields[6]->m_nValue = 9;
    file.m_fields[6]->m_bPresent = 1;

    {
        SCOPED_TRACE("folder that does not exist");
        file.SetPath(dir / "missing/t.odf");
        ExpectFailedSave(file, dir, "", "");
    }
    {
        SCOPED_TRACE("target is a folder");
        fs::create_directory(dir.Path() / "sub.odf");
        file.SetPath(dir / "sub.odf");
        ExpectFailedSave(file, dir, "", "");
        EXPECT_TRUE(fs::is_directory(dir.Path() / "sub.odf"));
        EXPECT_TRUE(fs::is_empty(dir.Path() / "sub.odf"));
    }
    {
        SCOPED_TRACE("links that point at each other");
        fs::create_symlink("loop2.odf", dir.Path() / "loop1.odf");
        fs::create_symlink("loop1.odf", dir.Path() / "loop2.odf");
        file.SetPath(dir / "loop1.odf");
        ExpectFailedSave(file, dir, "", "");
    }
    {
        SCOPED_TRACE("empty path");
        file.m_strPath.clear();
        ExpectFailedSave(file, dir, "", "");
    }
    {
        SCOPED_TRACE("SaveAs keeps the new path even when it fails");
        CMessageCapture messages;
        EXPECT_EQ(file.SaveAs(dir / "nowhere/x\\y.odf"), 0);
        EXPECT_EQ(file.m_strPath, dir / "nowhere/x\\y.odf");
        EXPECT_EQ(file.m_strFileName, "y.odf");
        EXPECT_EQ(messages.Texts().size(), 1u);
    }
}

TEST(TankFileSave, FailedSaveInAReadOnlyFolderKeepsTheOldFile) {
    CScratchDir dir;
    if (!PermissionsAreEnforced(dir))
        GTEST_SKIP() << "running with privileges that ignore permission bits";
    const fs::path locked = dir.Path() / "locked";
    fs::create_directory(locked);
    const std::string target = (locked / "t.odf").string();
    WriteBytes(target, "old bytes\n");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);

    CTankFile file;
    file.SetPath(target);
    const auto before = dir.Entries();
    CMessageCapture messages;
    file.m_bModified = 1;
    EXPECT_EQ(file.Save(), 0);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Error saving tank file '" + target + "'."});
    EXPECT_EQ(file.m_bModified, 1);
    EXPECT_EQ(ReadBytes(target), "old bytes\n");
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1);
}

TEST(TankFileSave, ReadOnlyFileIsNotReplaced) {
    CScratchDir dir;
    if (!PermissionsAreEnforced(dir))
        GTEST_SKIP() << "running with privileges that ignore permission bits";
    WriteBytes(dir / "ro.odf", "keep me\n");
    fs::permissions(dir.Path() / "ro.odf", fs::perms::owner_read);
    CTankFile file;
    file.SetPath(dir / "ro.odf");
    ExpectFailedSave(file, dir, dir / "ro.odf", "keep me\n");
}

TEST(TankFileSave, ExistingFileKeepsItsPermissionsAndLinksStay) {
    CScratchDir dir;
    CTankFile file;
    file.m_fields[0]->m_strValue = "linked";
    file.m_fields[0]->m_bPresent = 1;

    WriteBytes(dir / "perm.odf", "old\n");
    ::chmod((dir / "perm.odf").c_str(), 0640);
    ASSERT_EQ(file.SaveAs(dir / "perm.odf"), 1);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "perm.odf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A relative link in another folder is written through; the link itself stays a link.
    fs::create_directory(dir.Path() / "real");
    fs::create_directory(dir.Path() / "links");
    WriteBytes(dir / "real/target.odf", "old\n");
    fs::create_symlink("../real/target.odf", dir.Path() / "links/link.odf");
    ASSERT_EQ(file.SaveAs(dir / "links/link.odf"), 1);
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "links/link.odf"));
    EXPECT_EQ(fs::read_symlink(dir.Path() / "links/link.odf"), "../real/target.odf");
    EXPECT_NE(ReadBytes(dir / "real/target.odf").find("baseName = \"linked\""), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path() / "real"), fs::directory_iterator()),
              1);

    // A link whose target does not exist yet creates the target.
    fs::create_symlink("fresh.odf", dir.Path() / "dangling.odf");
    ASSERT_EQ(file.SaveAs(dir / "dangling.odf"), 1);
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "dangling.odf"));
    EXPECT_EQ(ReadBytes(dir / "fresh.odf"), WriteTankText(file));
}

TEST(TankFileSave, NewFileFollowsTheUmask) {
    CScratchDir dir;
    mode_t old = ::umask(027);
    CTankFile file;
    int result = file.SaveAs(dir / "mask.odf");
    ::umask(old);
    ASSERT_EQ(result, 1);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "mask.odf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(TankFileSave, LongestFileNameCanBeSaved) {
    CScratchDir dir;
    const std::string name = std::string(251, 'n') + ".odf"; // 255 bytes, the most a name holds
    CTankFile file;
    CMessageCapture messages;
    ASSERT_EQ(file.SaveAs(dir / name), 1) << (messages.Texts().empty() ? "" : messages.Texts()[0]);
    EXPECT_EQ(ReadBytes(dir / name), kEmptyDocument);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{name});
}

} // namespace
