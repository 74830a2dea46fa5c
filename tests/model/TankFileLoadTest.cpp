// Loads that fail leave the object exactly as it was.

#include "TankFile.h"
#include "TankFileWriter.h"
#include "TestSupport.h"

#include <sys/stat.h>

namespace {

using namespace tarnwick_test;

struct Snapshot {
    std::string text, path, fileName, alias;
    int modified, crLf;
    std::vector<std::string> slots;

    explicit Snapshot(const CTankFile& file)
        : text(WriteTankText(file)), path(file.m_strPath), fileName(file.m_strFileName),
          alias(file.m_strAlias), modified(file.m_bModified), crLf(file.m_bCrLf) {
        // The slots of absent fields too: a failed load must not clear them either.
        for (const auto& field : file.m_fields)
            slots.push_back(std::to_string(field->m_bPresent) + "|" + field->m_strValue + "|" +
                            std::to_string(field->m_fValue) + "|" +
                            std::to_string(field->m_nValue));
    }
    bool operator==(const Snapshot&) const = default;
};

TEST(TankFileLoad, FailuresLeaveEveryMemberAlone) {
    CScratchDir dir;
    WriteBytes(dir / "good.odf", "[GameObject]\r\nmaxHealth = 12\r\nunitName = \"u\"\r\n");
    fs::create_directory(dir.Path() / "folder.odf");
    ASSERT_EQ(::mkfifo((dir / "fifo.odf").c_str(), 0600), 0);

    CTankFile file;
    ASSERT_EQ(file.Load(dir / "good.odf"), 1);
    file.m_fields[0]->m_strValue = "stale slot"; // an absent field keeps an old value
    file.m_fields[6]->m_nValue = 13;
    file.m_bModified = 1;
    file.m_strAlias = "GD";
    const Snapshot before(file);

    std::vector<std::string> failing = {dir / "missing.odf", dir / "folder.odf", dir / "fifo.odf",
                                        "/dev/null", dir / "missing%s%d.odf"};
    // A regular file whose first read fails: the kernel refuses reads of unmapped memory.
    struct stat st {};
    if (::stat("/proc/self/mem", &st) == 0 && S_ISREG(st.st_mode))
        failing.push_back("/proc/self/mem");
    for (const std::string& path : failing) {
        SCOPED_TRACE(path);
        CMessageCapture messages;
        EXPECT_EQ(file.Load(path), 0);
        EXPECT_EQ(messages.Texts(),
                  std::vector<std::string>{"Error opening tank file '" + path + "'."});
        EXPECT_TRUE(Snapshot(file) == before);
    }

    CMessageCapture messages;
    EXPECT_EQ(file.Load(""), 0);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_TRUE(Snapshot(file) == before);
}

TEST(TankFileLoad, SuccessSetsNamesClearsTheFlagAndKeepsTheAlias) {
    CScratchDir dir;
    WriteBytes(dir / "Tank A.odf", "[GameObject]\nmaxAmmo = 3\n");
    CTankFile file;
    file.m_strAlias = "AL";
    file.m_bModified = 1;
    CMessageCapture messages;
    ASSERT_EQ(file.Load(dir / "Tank A.odf"), 1);
    EXPECT_EQ(file.m_strPath, dir / "Tank A.odf");
    EXPECT_EQ(file.m_strFileName, "Tank A.odf");
    EXPECT_EQ(file.m_strAlias, "AL");
    EXPECT_EQ(file.m_bModified, 0);
    EXPECT_EQ(file.m_fields[7]->m_nValue, 3);
    EXPECT_TRUE(messages.Texts().empty());

    // A relative path is kept as given.
    fs::path old = fs::current_path();
    fs::current_path(dir.Path());
    int result = file.Load("Tank A.odf");
    fs::current_path(old);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(file.m_strPath, "Tank A.odf");
    EXPECT_EQ(file.m_strFileName, "Tank A.odf");
}

} // namespace
