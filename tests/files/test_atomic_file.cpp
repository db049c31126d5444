#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "files/atomic_file.h"

namespace tesmo {

namespace fs = std::filesystem;

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

}  // namespace tesmo
