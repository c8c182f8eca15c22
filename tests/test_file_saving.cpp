// Saving over a musician's file: what replaceFile keeps, refuses and reports.
#include "presets/FileAccess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace
{
namespace fs = std::filesystem;

std::vector<std::byte> bytesOf(std::size_t count, unsigned char value)
{
    return std::vector<std::byte>(count, std::byte{value});
}

SaveResult save(const std::string& path, const std::vector<std::byte>& data)
{
    return replaceFile(path.c_str(), data);
}

std::size_t entriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}
} // namespace

TEST(FileSaving, ReadOnlyFilesAreRefusedAndUnchanged)
{
    TempFolder folder;
    const std::string file = folder.file("kept.qel");
    writeBytes(file, bytesOf(96, 0x11));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto readOnly = fs::status(file).permissions(); // as this system reports it

    EXPECT_EQ(save(file, bytesOf(101, 0x22)), SaveResult::readOnly);
    EXPECT_EQ(readBytes(file), bytesOf(96, 0x11));
    EXPECT_EQ(fs::status(file).permissions(), readOnly);
    EXPECT_EQ(entriesIn(folder.path()), 1u);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add); // for the clean-up
}

#if !defined(_WIN32)
TEST(FileSaving, LinksModeAndOwnerOfTheFileSurvive)
{
    TempFolder folder;
    fs::create_directory(folder.path() / "real");
    const std::string target = folder.file("real/echo.qel");
    writeBytes(target, bytesOf(96, 0x11));
    ::chmod(target.c_str(), 0640);
    const bool superuser = ::geteuid() == 0;
    if (superuser)
    {
        ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
    }

    // A relative link to the file, and a second hard link to it.
    fs::create_symlink("real/echo.qel", folder.path() / "link.qel");
    fs::create_hard_link(target, folder.path() / "hard.qel");
    EXPECT_EQ(save(folder.file("link.qel"), bytesOf(101, 0x22)), SaveResult::saved);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.qel"));
    EXPECT_EQ(readBytes(target), bytesOf(101, 0x22));
    EXPECT_EQ(readBytes(folder.file("hard.qel")), bytesOf(101, 0x22));
    EXPECT_EQ(fs::hard_link_count(target), 2u);

    // With one link left the temporary is renamed over it; mode and owner go with it.
    fs::remove(folder.path() / "hard.qel");
    EXPECT_EQ(save(folder.file("link.qel"), bytesOf(77, 0x33)), SaveResult::saved);
    EXPECT_EQ(readBytes(target), bytesOf(77, 0x33));
    struct stat info;
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (superuser)
    {
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 4322u);
    }

    // A dangling link: its target is made, through a chain of two links.
    fs::create_symlink(folder.path() / "real" / "new.qeb", folder.path() / "first");
    fs::create_symlink("first", folder.path() / "second");
    EXPECT_EQ(save(folder.file("second"), bytesOf(20, 0x44)), SaveResult::saved);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "second"));
    EXPECT_EQ(readBytes(folder.file("real/new.qeb")), bytesOf(20, 0x44));
    EXPECT_EQ(entriesIn(folder.path() / "real"), 2u); // no temporary left behind
    EXPECT_EQ(entriesIn(folder.path()), 4u);
}

// The folder's mode bits are read, not its access check, so this holds for the superuser.
TEST(FileSaving, AFolderThatTakesNoNewFileIsWrittenInPlace)
{
    TempFolder folder;
    const std::string file = folder.file("echo.qem");
    writeBytes(file, bytesOf(300, 0x11));
    struct stat before;
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    ::chmod(folder.path().c_str(), 0555);

    EXPECT_EQ(save(file, bytesOf(77, 0x22)), SaveResult::saved);
    EXPECT_EQ(save(folder.file("new.qem"), bytesOf(77, 0x22)), SaveResult::folderNotWritable);
    ::chmod(folder.path().c_str(), 0755);

    struct stat after;
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(readBytes(file), bytesOf(77, 0x22)); // cut to the new length
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

// Saving over a file another user lets us write, in a shared folder such as /tmp: a rename
// is refused there and would take the file from its owner elsewhere, so it is rewritten.
TEST(FileSaving, AnotherUsersWritableFileInASharedFolderIsRewrittenForThem)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs the superuser to act as a second user";
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0755);
    const fs::path shared = folder.path() / "shared";
    fs::create_directory(shared);
    ::chmod(shared.c_str(), 01777);
    const std::string file = (shared / "theirs.qel").string();
    writeBytes(file, bytesOf(96, 0x11));
    ::chmod(file.c_str(), 0666);
    struct stat before;
    ASSERT_EQ(::stat(file.c_str(), &before), 0);

    const pid_t child = ::fork();
    if (child == 0)
    {
        // Another user in a process of its own: 65534 is "nobody".
        const bool saved = ::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                           save(file, bytesOf(101, 0x22)) == SaveResult::saved;
        ::_exit(saved ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    struct stat after;
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(readBytes(file), bytesOf(101, 0x22));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(entriesIn(shared), 1u);
}

TEST(FileSaving, LongNamesSaveAndFailedWritesKeepTheOldFile)
{
    TempFolder folder;
    const std::string longName = folder.file(std::string(246, 'n') + ".qeb");
    EXPECT_EQ(save(longName, bytesOf(1637, 0x11)), SaveResult::saved);
    EXPECT_EQ(readBytes(longName), bytesOf(1637, 0x11));
    EXPECT_EQ(save(folder.file(std::string(256, 'n')), bytesOf(96, 0x11)), SaveResult::tooLong);

    // The file size limit makes the write fail part way, as a full disk does.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit low = limit;
    low.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
    const SaveResult result = save(longName, bytesOf(1637, 0x22));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result, SaveResult::noSpace);
    EXPECT_EQ(readBytes(longName), bytesOf(1637, 0x11));
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}
#endif
