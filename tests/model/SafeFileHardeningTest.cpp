// Saving onto a full disk, through dangling links, under long names, onto
// pipes, after a killed save and into files of another group: the previous
// file survives every failure, and nothing but the content changes.

#include "model/SafeFile.h"
#include "FilesTestSupport.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

namespace {

FileWrite WriteText(const std::string& path, const std::string& text) {
    return WriteFileSafely(
        path, [&text](std::FILE* file) { return std::fputs(text.c_str(), file) >= 0; });
}

struct stat Status(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info;
}

const std::string kOld = "the old content, longer than the new one";
constexpr gid_t kOtherGroup = 4242;

// A disk error in the middle of an overwrite: the first call writes a few
// bytes, the second fails, later ones write as the system does.
int writeCalls = 0;
ssize_t FailingOnceWrite(int fd, const void* data, size_t size) {
    switch (++writeCalls) {
    case 1:
        return ::write(fd, data, std::min<size_t>(size, 2));
    case 2:
        errno = EIO;
        return -1;
    default:
        return ::write(fd, data, size);
    }
}

// Descriptors a case keeps open while the file is written.
std::vector<int> heldOpen;

// A file with a second hard link "other", so that it is written in place.
std::string HardLinked(const TempDir& dir) {
    const std::string path = dir.File("out.json");
    WriteBytes(path, kOld);
    ::link(path.c_str(), dir.File("other").c_str());
    return path;
}

void OldContentInBothLinks(const TempDir& dir) {
    EXPECT_EQ(ReadBytes(dir.File("out.json")), kOld);
    EXPECT_EQ(ReadBytes(dir.File("other")), kOld);
    EXPECT_EQ(dir.EntryCount(), 2);
}

// A file of the ordinary user in a group he is no member of (root only).
std::string OfAnotherGroup(const TempDir& dir) {
    const std::string path = dir.File("out.json");
    WriteBytes(path, kOld);
    if (::geteuid() != 0 || ::chown(path.c_str(), kNobody, kOtherGroup) != 0)
        return "";
    ::chmod(dir.Path().c_str(), 0777);
    ::chmod(path.c_str(), 0664);
    return path;
}

struct FileCase {
    const char* what;
    std::function<std::string(const TempDir&)> prepare; // "": cannot be set up here
    FileWrite expected;
    std::function<void(const TempDir&)> verify;
    rlim_t sizeLimit = 0; // a full disk, as it were
    WriteCall writeCall = nullptr;
    bool asOrdinaryUser = false;
};

const std::string kNew = "new";

const FileCase kCases[] = {
    {"a full disk leaves a hard-linked file as it was", HardLinked, FileWrite::kFailed,
     OldContentInBothLinks, 16},
    {"a failing write puts the old content back", HardLinked, FileWrite::kFailed,
     OldContentInBothLinks, 0, FailingOnceWrite},
    {"a dangling link makes its target",
     [](const TempDir& dir) {
         std::filesystem::create_directory(dir.File("sub"));
         std::filesystem::create_symlink("sub/real.json", dir.File("out.json"));
         return dir.File("out.json");
     },
     FileWrite::kDone,
     [](const TempDir& dir) {
         EXPECT_TRUE(std::filesystem::is_symlink(dir.File("out.json")));
         EXPECT_EQ(ReadBytes(dir.File("sub/real.json")), kNew);
     }},
    {"a chain of links ends in the file made",
     [](const TempDir& dir) {
         std::filesystem::create_symlink("b", dir.File("a"));
         std::filesystem::create_symlink(dir.File("c"), dir.File("b"));
         return dir.File("a");
     },
     FileWrite::kDone,
     [](const TempDir& dir) {
         EXPECT_TRUE(std::filesystem::is_symlink(dir.File("a")));
         EXPECT_TRUE(std::filesystem::is_symlink(dir.File("b")));
         EXPECT_EQ(ReadBytes(dir.File("c")), kNew);
     }},
    {"a name of 255 bytes", [](const TempDir& dir) { return dir.File(std::string(255, 'n')); },
     FileWrite::kDone,
     [](const TempDir& dir) {
         EXPECT_EQ(ReadBytes(dir.File(std::string(255, 'n'))), kNew);
         EXPECT_EQ(dir.EntryCount(), 1);
     }},
    {"a name of 249 bytes, cut inside a two-byte character",
     [](const TempDir& dir) {
         std::string name = "x";
         for (int i = 0; i < 124; ++i)
             name += "ä";
         WriteBytes(dir.File(name), kOld);
         return dir.File(name);
     },
     FileWrite::kDone,
     [](const TempDir& dir) {
         EXPECT_EQ(ReadBytes(std::filesystem::directory_iterator(dir.Path())->path()), kNew);
         EXPECT_EQ(dir.EntryCount(), 1);
     }},
    {"a named pipe is no output",
     [](const TempDir& dir) {
         const std::string fifo = dir.File("pipe");
         ::mkfifo(fifo.c_str(), 0600);
         // A reader of its own, so that a wrong write would not block.
         heldOpen.push_back(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
         return fifo;
     },
     FileWrite::kNotOpened, [](const TempDir& dir) { EXPECT_EQ(dir.EntryCount(), 1); }},
    {"files of a killed save are removed, those of a running one kept",
     [](const TempDir& dir) {
         WriteBytes(dir.File(".out.json~balkor.Killed"), "half");
         WriteBytes(dir.File(".out.json~balkor.Runnin"), "running");
         WriteBytes(dir.File(".other~balkor.Killed"), "another target's");
         heldOpen.push_back(::open(dir.File(".out.json~balkor.Runnin").c_str(), O_RDONLY));
         ::flock(heldOpen.back(), LOCK_EX);
         return dir.File("out.json");
     },
     FileWrite::kDone,
     [](const TempDir& dir) {
         EXPECT_FALSE(std::filesystem::exists(dir.File(".out.json~balkor.Killed")));
         EXPECT_TRUE(std::filesystem::exists(dir.File(".out.json~balkor.Runnin")));
         EXPECT_TRUE(std::filesystem::exists(dir.File(".other~balkor.Killed")));
         EXPECT_EQ(ReadBytes(dir.File("out.json")), kNew);
     }},
    {"the group and the mode are kept",
     [](const TempDir& dir) {
         const std::string path = dir.File("out.json");
         WriteBytes(path, kOld);
         ::chmod(path.c_str(), 0664);
         return ::geteuid() == 0 && ::chown(path.c_str(), 0, kOtherGroup) == 0 ? path : "";
     },
     FileWrite::kDone,
     [](const TempDir& dir) {
         const struct stat info = Status(dir.File("out.json"));
         EXPECT_EQ(info.st_gid, kOtherGroup);
         EXPECT_EQ(info.st_mode & 07777, 0664u);
         EXPECT_EQ(dir.EntryCount(), 1);
     }},
    {"a group the user may not give is kept by writing in place", OfAnotherGroup, FileWrite::kDone,
     [](const TempDir& dir) {
         const struct stat info = Status(dir.File("out.json"));
         EXPECT_EQ(info.st_gid, kOtherGroup);
         EXPECT_EQ(info.st_uid, kNobody);
         EXPECT_EQ(ReadBytes(dir.File("out.json")), kNew);
         EXPECT_EQ(dir.EntryCount(), 1);
     },
     0, nullptr, true},
};

FileWrite WriteCase(const FileCase& c, const std::string& path) {
    if (c.asOrdinaryUser) {
        const int result = AsOrdinaryUser([&] { return static_cast<int>(WriteText(path, kNew)); });
        return static_cast<FileWrite>(result);
    }
    std::optional<FileSizeLimit> limit;
    if (c.sizeLimit)
        limit.emplace(c.sizeLimit);
    writeCalls = 0;
    SetInPlaceWriteCall(c.writeCall);
    // Under a size limit, a content beyond it.
    const FileWrite result = WriteText(path, c.sizeLimit ? std::string(200, 'x') : kNew);
    SetInPlaceWriteCall(nullptr);
    return result;
}

} // namespace

TEST(SafeFileHardening, FileSystemCases) {
    for (const FileCase& c : kCases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        OpenForEveryone(dir);
        const std::string path = c.prepare(dir);
        if (path.empty()) {
            std::printf("skipped (needs root): %s\n", c.what);
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        const FileWrite result = WriteCase(c, path);
        EXPECT_EQ(result, c.expected);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        c.verify(dir);
        for (int fd : heldOpen)
            ::close(fd);
        heldOpen.clear();
    }
}

// A real full disk: a small tmpfs, filled up, holding a hard-linked file
// whose new content needs more room than is left.
TEST(SafeFileHardening, FullTmpfsLeavesAHardLinkedFileAsItWas) {
    TempDir dir;
    const std::string disk = dir.File("disk");
    std::filesystem::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here (" << std::strerror(errno)
                     << "); the injected failures cover the full disk";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{disk};
    const std::string path = disk + "/out.json", other = disk + "/other";
    WriteBytes(path, kOld);
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    WriteBytes(disk + "/filler", std::string(1 << 20, 'f'));
    struct statvfs space {};
    ASSERT_EQ(::statvfs(disk.c_str(), &space), 0);
    ASSERT_EQ(space.f_bavail, 0u);
    EXPECT_EQ(WriteText(path, std::string(20000, 'n')), FileWrite::kFailed);
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(ReadBytes(other), kOld);
}
