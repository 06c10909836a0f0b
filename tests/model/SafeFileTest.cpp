// Opening only regular files for reading, and writing files so that a
// failure never destroys the previous one: beside and rename where possible,
// in place (after the content is complete) where a new file would break a
// hard link or cannot be created.

#include "model/SafeFile.h"

#include "FilesTestSupport.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileWrite WriteText(const std::string& path, const std::string& text) {
    return WriteFileSafely(
        path, [&text](std::FILE* file) { return std::fputs(text.c_str(), file) >= 0; });
}

ino_t Inode(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ino;
}

} // namespace

TEST(OpenRegularFile, OpensOnlyRegularFiles) {
    TempDir dir;
    const std::string file = dir.File("a.bsy"), link = dir.File("link.bsy");
    WriteBytes(file, "NODES\n");
    std::filesystem::create_symlink(file, link);
    for (const std::string& path : {file, link}) {
        std::FILE* opened = OpenRegularFile(path);
        ASSERT_NE(opened, nullptr) << path;
        EXPECT_EQ(std::fgetc(opened), 'N');
        std::fclose(opened);
    }
    EXPECT_EQ(OpenRegularFile(dir.File("missing")), nullptr);
    EXPECT_EQ(OpenRegularFile(dir.Path().string()), nullptr);
    EXPECT_EQ(OpenRegularFile("/dev/zero"), nullptr);
    EXPECT_EQ(OpenRegularFile(""), nullptr);
}

// Mended: opening a named pipe waited for a writer that never came.
TEST(OpenRegularFile, NamedPipeIsRefusedWithoutWaiting) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.bsy");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(OpenRegularFile(fifo), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(WriteFileSafely, NewFileGetsTheUsualPermissions) {
    TempDir dir;
    const std::string path = dir.File("new.bsy");
    const mode_t mask = ::umask(022);
    const FileWrite written = WriteText(path, "text");
    ::umask(mask);
    ASSERT_EQ(written, FileWrite::kDone);
    EXPECT_EQ(ReadBytes(path), "text");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0644));
    EXPECT_EQ(dir.EntryCount(), 1);
}

TEST(WriteFileSafely, ExceptionOfTheWriterLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("a.txt");
    WriteBytes(path, "old");
    EXPECT_THROW(WriteFileSafely(path,
                                 [](std::FILE* file) -> bool {
                                     std::fputs("new", file);
                                     throw std::runtime_error("ended");
                                 }),
                 std::runtime_error);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(dir.EntryCount(), 1);
}

// Mended: the new file took the place of one of the names, so the other
// names of a hard-linked file kept the old content.
TEST(WriteFileSafely, HardLinkedFileIsOverwrittenInPlace) {
    TempDir dir;
    const std::string path = dir.File("a.bsy"), other = dir.File("b.bsy");
    WriteBytes(path, "a much longer old content than the new one");
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    const ino_t inode = Inode(path);
    ASSERT_EQ(WriteText(path, "new"), FileWrite::kDone);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ReadBytes(other), "new");
    EXPECT_EQ(Inode(path), inode);
    EXPECT_EQ(dir.EntryCount(), 2);
}

TEST(WriteFileSafely, InPlaceTheContentIsCompleteBeforeTheFileIsTouched) {
    TempDir dir;
    const std::string path = dir.File("a.bsy"), other = dir.File("b.bsy");
    WriteBytes(path, "old");
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    EXPECT_EQ(WriteFileSafely(path,
                              [](std::FILE* file) {
                                  std::fputs("half", file);
                                  return false;
                              }),
              FileWrite::kFailed);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_THROW(
        WriteFileSafely(path, [](std::FILE*) -> bool { throw std::runtime_error("ended"); }),
        std::runtime_error);
    EXPECT_EQ(ReadBytes(path), "old");
}

TEST(WriteFileSafely, FailingOverwriteInPlaceIsReported) {
    TempDir dir;
    const std::string path = dir.File("a.bsy"), other = dir.File("b.bsy");
    WriteBytes(path, "old");
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    FileWrite written;
    {
        FileSizeLimit limit(512); // a full disk, as it were
        written = WriteText(path, std::string(2000, 'x'));
    }
    EXPECT_EQ(written, FileWrite::kFailed);
}

// Mended: a file the user may write in a folder where he may not create files
// could not be saved at all.
TEST(WriteFileSafely, FolderWithoutCreateRightIsWrittenInPlace) {
    TempDir dir;
    OpenForEveryone(dir);
    const std::string folder = dir.File("locked"), path = dir.File("locked/a.bsy");
    std::filesystem::create_directory(folder);
    WriteBytes(path, "old content");
    HandOver(path);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    const ino_t inode = Inode(path);
    const int result = AsOrdinaryUser([&] { return static_cast<int>(WriteText(path, "new")); });
    ::chmod(folder.c_str(), 0755);
    if (result < 0)
        GTEST_SKIP() << "no ordinary user";
    EXPECT_EQ(result, static_cast<int>(FileWrite::kDone));
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(Inode(path), inode);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    // A new file cannot be made there at all.
    const int created =
        AsOrdinaryUser([&] { return static_cast<int>(WriteText(dir.File("locked/b.bsy"), "x")); });
    EXPECT_EQ(created, static_cast<int>(FileWrite::kNotOpened));
}

// A file the user may not write is not replaced (a rename would need only the
// folder's permission), and the system files are written with this routine.
TEST(WriteFileSafely, ReadOnlyFileIsNotReplaced) {
    TempDir dir;
    OpenForEveryone(dir);
    const std::string path = dir.File("r.bsy");
    WriteBytes(path, "old");
    HandOver(path);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const int result = AsOrdinaryUser([&] { return static_cast<int>(WriteText(path, "new")); });
    if (result < 0)
        GTEST_SKIP() << "no ordinary user";
    EXPECT_EQ(result, static_cast<int>(FileWrite::kNotOpened));
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(dir.EntryCount(), 1);
}

TEST(WriteFileSafely, DeviceIsWrittenInPlace) {
    EXPECT_EQ(WriteText("/dev/null", "into nothing"), FileWrite::kDone);
    EXPECT_EQ(WriteText("/dev/full", "no room"), FileWrite::kFailed);
}

// /dev/stdout and its kind resolve to a file of the program's own; a new file
// in its place would leave the open file as it was.
TEST(WriteFileSafely, NameOfAnOpenFileIsWrittenInPlace) {
    TempDir dir;
    const std::string path = dir.File("out.txt");
    WriteBytes(path, "a longer old content");
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    const std::string name = "/proc/self/fd/" + std::to_string(fd);
    EXPECT_EQ(WriteText(name, "new"), FileWrite::kDone);
    char buffer[64] = {};
    EXPECT_EQ(::pread(fd, buffer, sizeof buffer - 1, 0), 3);
    EXPECT_STREQ(buffer, "new");
    ::close(fd);
    EXPECT_EQ(dir.EntryCount(), 1);
}

TEST(WriteFileSafely, MissingFolderCannotBeOpened) {
    TempDir dir;
    EXPECT_EQ(WriteText(dir.File("no/such/folder/a.txt"), "x"), FileWrite::kNotOpened);
    EXPECT_EQ(WriteText("", "x"), FileWrite::kNotOpened);
    EXPECT_EQ(dir.EntryCount(), 0);
}
