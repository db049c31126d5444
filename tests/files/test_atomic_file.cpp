#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/xattr.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "files/atomic_file.h"
#include "tests/child_process.h"

namespace tesmo {

namespace fs = std::filesystem;
using test::ChildEnd;
using test::inChild;

namespace {

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class AtomicFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tesmo-atomic-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    // Nothing but the named files may be left in the folder (no temporary files).
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir_;
};

}  // namespace

TEST_F(AtomicFile, WritesReplacesAndKeepsThePermissions) {
    const fs::path target = dir_ / "fall.csv";
    ASSERT_TRUE(writeFileAtomically(target.string(), "eins\n"));
    EXPECT_EQ(slurp(target), "eins\n");
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(target.string(), "zwei\n"));
    EXPECT_EQ(slurp(target), "zwei\n");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), std::vector<std::string>{"fall.csv"});
}

TEST_F(AtomicFile, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    const fs::path target = dir_ / "fall.csv";
    ASSERT_TRUE(writeFileAtomically(target.string(), "alt\n"));
    WriteFailure failure;
    const bool ok = writeFileAtomically(
        target.string(),
        [](std::FILE* out) {
            std::fputs("halb", out);
            return false;  // the producer could not finish
        },
        &failure);
    EXPECT_FALSE(ok);
    EXPECT_EQ(slurp(target), "alt\n");
    EXPECT_EQ(entries(), std::vector<std::string>{"fall.csv"});

    EXPECT_FALSE(writeFileAtomically((dir_ / "fehlt" / "x.csv").string(), "x", &failure));
    EXPECT_EQ(reasonText(failure), "der Ordner existiert nicht");
    EXPECT_FALSE(writeFileAtomically(dir_.string(), "x", &failure));
    EXPECT_EQ(reasonText(failure), "der Pfad ist ein Ordner");
}

TEST_F(AtomicFile, ConcurrentWritersLeaveOneWholeFile) {
    const fs::path target = dir_ / "verlauf.csv";
    const std::string a(200000, 'a'), b(300000, 'b');
    for (int round = 0; round < 20; ++round) {
        std::thread ta([&] { writeFileAtomically(target.string(), a); });
        std::thread tb([&] { writeFileAtomically(target.string(), b); });
        ta.join();
        tb.join();
        const std::string now = slurp(target);
        EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
    EXPECT_EQ(entries(), std::vector<std::string>{"verlauf.csv"});
}

TEST_F(AtomicFile, SavingThroughALinkReplacesTheFileItPointsTo) {
    const fs::path real = dir_ / "echt.tgcase";
    const fs::path link = dir_ / "link.tgcase";
    ASSERT_TRUE(writeFileAtomically(real.string(), "alt"));
    fs::create_symlink(real, link);
    ASSERT_TRUE(writeFileAtomically(link.string(), "neu"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(slurp(real), "neu");
}

// A named pipe, a socket and (for root, who alone may make one) a device, each also reached
// through a link: a save refuses them and leaves them as they are.
TEST_F(AtomicFile, LeavesWhatIsNotAFileAsItIs) {
    struct Node {
        std::string name, kind;
        mode_t type;
    };
    std::vector<Node> nodes;
    ASSERT_TRUE(test::makeFifo((dir_ / "pipe").string()));
    nodes.push_back({"pipe", "eine benannte Pipe (FIFO)", S_IFIFO});
    fs::create_symlink("pipe", dir_ / "zeiger");
    nodes.push_back({"zeiger", "eine benannte Pipe (FIFO)", S_IFIFO});
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (dir_ / "sock").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(s);
    nodes.push_back({"sock", "ein Socket", S_IFSOCK});
    if (test::makeNullDevice((dir_ / "nul").string()))
        nodes.push_back({"nul", "ein Gerät", S_IFCHR});

    for (const Node& node : nodes) {
        const std::string path = (dir_ / node.name).string();
        WriteFailure failure;
        EXPECT_FALSE(writeFileAtomically(path, "inhalt", &failure)) << node.name;
        EXPECT_EQ(reasonText(failure),
                  "der Pfad ist keine gewöhnliche Datei, sondern " + node.kind);
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0) << node.name;
        EXPECT_EQ(info.st_mode & S_IFMT, node.type) << node.name;
    }
    EXPECT_TRUE(fs::is_symlink(dir_ / "zeiger"));
    EXPECT_EQ(entries().size(), nodes.size());  // no temporary file left
}

// As an editor does: a file the user may not write is not replaced, although the folder would
// let a new file be renamed over it; nor is a writable file in a folder that takes no new file
// from the user. Root may write anything, so the saves are tried as another user.
TEST_F(AtomicFile, RefusesWhatTheUserMayNotWrite) {
    fs::permissions(dir_, fs::perms::all);  // anyone may make files here
    const std::string readOnly = (dir_ / "nur-lesen.tgcase").string();
    ASSERT_TRUE(writeFileAtomically(readOnly, "alt"));
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    const fs::path closed = dir_ / "zu";
    fs::create_directory(closed);
    const std::string inClosed = (closed / "offen.tgcase").string();
    ASSERT_TRUE(writeFileAtomically(inClosed, "alt"));
    ASSERT_EQ(::chmod(inClosed.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(closed.c_str(), 0555), 0);

    const ChildEnd end = inChild(
        [&] {
            std::string report;
            const auto refused = [&](const std::string& path, const std::string& reason) {
                WriteFailure failure;
                if (writeFileAtomically(path, "neu", &failure))
                    report += path + " was replaced; ";
                else if (reasonText(failure) != reason)
                    report += path + ": " + reasonText(failure) + "; ";
            };
            refused(readOnly, "keine Schreibberechtigung");
            refused(inClosed,
                    "keine Schreibberechtigung für den Ordner, in dem die Datei neu angelegt wird");
            return report;
        },
        10, true);
    ::chmod(closed.c_str(), 0755);
    EXPECT_EQ(end.report, "");
    EXPECT_EQ(slurp(readOnly), "alt");
    EXPECT_EQ(slurp(inClosed), "alt");
    EXPECT_EQ(entries(), (std::vector<std::string>{"nur-lesen.tgcase", "zu"}));
}

// A replaced file keeps its permission bits, its extended attributes (where the file system
// has them) and, when root saves it, its owner and group; another hard link of it keeps the old
// content, as the snapshot of a backup that shares unchanged files by hard links must.
TEST_F(AtomicFile, AReplacedFileKeepsOwnerAndAttributesAndItsOtherLinksTheOldContent) {
    const fs::path target = dir_ / "fall.tgcase";
    ASSERT_TRUE(writeFileAtomically(target.string(), "alt"));
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    const bool attributes = ::setxattr(target.c_str(), "user.tesmo", "Probe", 5, 0) == 0;
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), test::kNobody, test::kNobody), 0);
    }
    fs::create_hard_link(target, dir_ / "sicherung.tgcase");

    ASSERT_TRUE(writeFileAtomically(target.string(), "neu"));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_nlink, 1u);
    if (root) {
        EXPECT_EQ(info.st_uid, test::kNobody);
        EXPECT_EQ(info.st_gid, test::kNobody);
    }
    if (attributes) {
        char value[16] = {};
        EXPECT_EQ(::getxattr(target.c_str(), "user.tesmo", value, sizeof value), 5);
        EXPECT_STREQ(value, "Probe");
    }
    EXPECT_EQ(slurp(target), "neu");
    EXPECT_EQ(slurp(dir_ / "sicherung.tgcase"), "alt");
}

// The temporary name is short, so a name at the system's limit of 255 bytes can be saved; a
// link is followed to its end, also to a file not there yet, and a loop of links is refused.
TEST_F(AtomicFile, LongNamesAndLinks) {
    const std::string longName = std::string(255 - 7, 'a') + ".tgcase";
    ASSERT_TRUE(writeFileAtomically((dir_ / longName).string(), "lang"));
    EXPECT_EQ(slurp(dir_ / longName), "lang");

    fs::create_directory(dir_ / "unter");
    fs::create_symlink("../ziel.csv", dir_ / "unter" / "zeiger.csv");
    ASSERT_TRUE(writeFileAtomically((dir_ / "unter" / "zeiger.csv").string(), "neu"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "unter" / "zeiger.csv"));
    EXPECT_EQ(slurp(dir_ / "ziel.csv"), "neu");

    fs::create_symlink("schleife", dir_ / "schleife");
    WriteFailure failure;
    EXPECT_FALSE(writeFileAtomically((dir_ / "schleife").string(), "x", &failure));
    EXPECT_EQ(reasonText(failure),
              "zu viele symbolische Verknüpfungen hintereinander, vermutlich eine Schleife");
    EXPECT_TRUE(fs::is_symlink(dir_ / "schleife"));
    EXPECT_EQ(entries(), (std::vector<std::string>{longName, "schleife", "unter", "ziel.csv"}));
}

// A process ended by a signal in the middle of a write removes the temporary file first; the
// old file stays as it was.
TEST_F(AtomicFile, ASignalThatEndsTheProcessMidWriteLeavesNoTemporaryFile) {
    const fs::path target = dir_ / "verlauf.csv";
    ASSERT_TRUE(writeFileAtomically(target.string(), "alt"));
    for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) {
        const ChildEnd end = inChild([&] {
            std::signal(signal, SIG_DFL);
            removeTemporaryFilesOnFatalSignals();
            writeFileAtomically(target.string(), [signal](std::FILE* out) {
                std::fputs("halb", out);
                std::fflush(out);
                ::raise(signal);
                return true;
            });
            return std::string("the process outlived the signal");
        });
        EXPECT_EQ(end.signal, signal) << end.report;
        EXPECT_EQ(entries(), std::vector<std::string>{"verlauf.csv"}) << "signal " << signal;
        EXPECT_EQ(slurp(target), "alt");
    }
}

}  // namespace tesmo
