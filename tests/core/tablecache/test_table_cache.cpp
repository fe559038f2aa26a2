// The tables' cache file: what is saved loads back bit for bit, and every
// damaged, foreign or mismatched file is refused (the solver then builds its
// tables itself, so a false refusal costs seconds, a false acceptance wrong solves).

#include "TableCache.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tablecache;

using testsupport::Bytes;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

constexpr std::uint32_t kVersion = 7;

Bytes RandomBytes(size_t n, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& x : b)
        x = static_cast<unsigned char>(rng());
    return b;
}

std::set<std::string> Entries(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

// A fresh folder per test, removed afterwards.
class TableCache : public ::testing::Test {
protected:
    testsupport::TempFolder m_temp{std::string("zelvors-tablecache-") +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name()};
    const fs::path& m_folder = m_temp.path;
};

// Segments of sizes 0, 1, 7 and just over 1 MB (more than one checksum block),
// and the file Save makes of them.
class TableCacheFile : public TableCache {
protected:
    void SetUp() override
    {
        TableCache::SetUp();
        m_data = {Bytes(), RandomBytes(1, 1), RandomBytes(7, 2), RandomBytes((1 << 20) + 13, 3)};
        m_path = (m_folder / "tables.bin").string();
        ASSERT_TRUE(Save(m_path, kVersion, Segments()));
        m_file = ReadFileBytes(m_path);
        size_t payload = 0;
        for (const Bytes& b : m_data)
            payload += b.size();
        ASSERT_GT(m_file.size(), payload);
        m_headerBytes = m_file.size() - payload;
    }

    std::vector<Segment> Segments() const
    {
        std::vector<Segment> s;
        for (const Bytes& b : m_data)
            s.push_back({b.data(), b.size()});
        return s;
    }

    // Loads into fresh buffers of the given sizes; the contents when it succeeds.
    std::optional<std::vector<Bytes>> LoadSizes(const std::vector<size_t>& sizes,
                                                std::uint32_t version = kVersion) const
    {
        std::vector<Bytes> out;
        std::vector<Destination> d;
        for (size_t n : sizes)
            out.emplace_back(n, 0xAB);
        for (Bytes& b : out)
            d.push_back({b.data(), b.size()});
        if (!Load(m_path, version, d))
            return std::nullopt;
        return out;
    }
    std::optional<std::vector<Bytes>> LoadAll(std::uint32_t version = kVersion) const
    {
        std::vector<size_t> sizes;
        for (const Bytes& b : m_data)
            sizes.push_back(b.size());
        return LoadSizes(sizes, version);
    }
    bool LoadsWith(const Bytes& file) const
    {
        WriteFileBytes(m_path, file);
        return LoadAll().has_value();
    }

    std::vector<Bytes> m_data;
    std::string m_path;
    Bytes m_file;
    size_t m_headerBytes = 0;
};

TEST_F(TableCacheFile, RoundTripGivesBackEverySegmentAndLeavesOnlyTheFile)
{
    const auto loaded = LoadAll();
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(*loaded, m_data);
    EXPECT_EQ(Entries(m_folder), std::set<std::string>{"tables.bin"});

    // Saving again replaces the file.
    m_data[3] = RandomBytes(m_data[3].size(), 4);
    ASSERT_TRUE(Save(m_path, kVersion, Segments()));
    EXPECT_EQ(LoadAll(), m_data);
    EXPECT_EQ(Entries(m_folder), std::set<std::string>{"tables.bin"});
}

TEST_F(TableCacheFile, SaveCreatesMissingFolders)
{
    m_path = (m_folder / "a" / "b" / "tables.bin").string();
    ASSERT_TRUE(Save(m_path, kVersion, Segments()));
    EXPECT_EQ(LoadAll(), m_data);
}

TEST_F(TableCacheFile, MissingEmptyOrTruncatedFilesAreRefused)
{
    fs::remove(m_path);
    EXPECT_FALSE(LoadAll());
    EXPECT_FALSE(LoadsWith(Bytes()));
    // In the magic, in the sizes, just before the payload, inside each
    // segment, at the end of the first checksum block, one byte short.
    for (size_t keep : {size_t(3), size_t(20), m_headerBytes - 1, m_headerBytes, m_headerBytes + 1,
                        m_headerBytes + 5, m_headerBytes + 8 + (1 << 20), m_file.size() - 1}) {
        SCOPED_TRACE(keep);
        EXPECT_FALSE(LoadsWith(Bytes(m_file.begin(), m_file.begin() + static_cast<std::ptrdiff_t>(keep))));
    }
}

TEST_F(TableCacheFile, ExtraBytesAreRefused)
{
    Bytes longer = m_file;
    longer.push_back(0);
    EXPECT_FALSE(LoadsWith(longer));
    longer.insert(longer.end(), 100, 0);
    EXPECT_FALSE(LoadsWith(longer));
}

TEST_F(TableCacheFile, AnyFlippedHeaderByteIsRefused)
{
    for (size_t i = 0; i < m_headerBytes; ++i)
        for (unsigned char mask : {0x01, 0x80}) {
            Bytes damaged = m_file;
            damaged[i] ^= mask;
            EXPECT_FALSE(LoadsWith(damaged)) << "byte " << i << " mask " << int(mask);
        }
}

TEST_F(TableCacheFile, FlippedPayloadBytesAreRefused)
{
    const size_t n = m_file.size();
    const size_t h = m_headerBytes;
    // First byte, each small segment, both sides of the large segment's first
    // block boundary, the middle and the last byte.
    for (size_t i : {h, h + 1, h + 4, h + 7, h + 8, h + 8 + (1 << 20) - 1, h + 8 + (1 << 20),
                     h + (n - h) / 2, n - 1}) {
        Bytes damaged = m_file;
        damaged[i] ^= 0x10;
        EXPECT_FALSE(LoadsWith(damaged)) << "byte " << i;
    }
    // Two 8-byte words of the payload swapped.
    Bytes swapped = m_file;
    std::swap_ranges(swapped.begin() + static_cast<std::ptrdiff_t>(h + 8),
                     swapped.begin() + static_cast<std::ptrdiff_t>(h + 16),
                     swapped.begin() + static_cast<std::ptrdiff_t>(h + 16));
    EXPECT_FALSE(LoadsWith(swapped));
    EXPECT_TRUE(LoadsWith(m_file));
}

TEST_F(TableCacheFile, MismatchedVersionOrLayoutIsRefused)
{
    EXPECT_FALSE(LoadAll(kVersion + 1));
    EXPECT_FALSE(LoadAll(0));
    EXPECT_FALSE(LoadSizes({0, 1, 7}));
    EXPECT_FALSE(LoadSizes({0, 1, 7, m_data[3].size(), 0}));
    EXPECT_FALSE(LoadSizes({}));
    EXPECT_FALSE(LoadSizes({0, 1, 7, m_data[3].size() - 1}));
    EXPECT_FALSE(LoadSizes({0, 1, 8, m_data[3].size() - 1}));
    // Same total, bytes moved between segments.
    EXPECT_FALSE(LoadSizes({1, 0, 7, m_data[3].size()}));
    EXPECT_TRUE(LoadAll());
}

TEST_F(TableCacheFile, ForeignFilesAreRefused)
{
    const std::string text = "# some other program's settings\nwidth=640\n";
    EXPECT_FALSE(LoadsWith(Bytes(text.begin(), text.end())));
    EXPECT_FALSE(LoadsWith(RandomBytes(m_file.size(), 5)));
    EXPECT_FALSE(LoadsWith(Bytes(m_file.size(), 0)));
    // A folder where the file should be.
    fs::remove(m_path);
    fs::create_directory(m_path);
    EXPECT_FALSE(LoadAll());
}

TEST_F(TableCacheFile, SaveFailsCleanlyWhereItCannotWrite)
{
    // The target is a folder: it stays, empty, and nothing is left beside it.
    const fs::path dir = m_folder / "dir";
    fs::create_directory(dir);
    EXPECT_FALSE(Save(dir.string(), kVersion, Segments()));
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_TRUE(fs::is_empty(dir));

    // A file stands where a folder of the path should be.
    const fs::path plain = m_folder / "plain";
    WriteFileBytes(plain, Bytes{1, 2, 3});
    EXPECT_FALSE(Save((plain / "tables.bin").string(), kVersion, Segments()));
    EXPECT_FALSE(Save((plain / "sub" / "tables.bin").string(), kVersion, Segments()));
    EXPECT_EQ(ReadFileBytes(plain), (Bytes{1, 2, 3}));

    EXPECT_FALSE(Save("", kVersion, Segments()));
    EXPECT_EQ(Entries(m_folder), (std::set<std::string>{"dir", "plain", "tables.bin"}));
}

TEST_F(TableCacheFile, SaveFailsCleanlyInAReadOnlyFolder)
{
    const fs::path locked = m_folder / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    // An administrator writes regardless of permissions: nothing to test then.
    const fs::path probe = locked / "probe";
    if (std::FILE* f = std::fopen(probe.string().c_str(), "wb")) {
        std::fclose(f);
        fs::remove(probe);
        GTEST_SKIP() << "permissions do not stop this user from writing";
    }
    EXPECT_FALSE(Save((locked / "tables.bin").string(), kVersion, Segments()));
    EXPECT_FALSE(Save((locked / "sub" / "tables.bin").string(), kVersion, Segments()));
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST_F(TableCacheFile, WritersRacingLeaveOneWholeFile)
{
    // Two writers of different contents; whichever wins, the file is whole.
    const std::vector<Bytes> other = {Bytes(), RandomBytes(1, 11), RandomBytes(7, 12),
                                      RandomBytes(m_data[3].size(), 13)};
    std::vector<Segment> otherSegments;
    for (const Bytes& b : other)
        otherSegments.push_back({b.data(), b.size()});
    const std::vector<Segment> mine = Segments();
    for (int round = 0; round < 10; ++round) {
        bool bFirst = false, bSecond = false;
        std::thread a([&] { bFirst = Save(m_path, kVersion, mine); });
        std::thread b([&] { bSecond = Save(m_path, kVersion, otherSegments); });
        a.join();
        b.join();
        EXPECT_TRUE(bFirst && bSecond);
        const auto loaded = LoadAll();
        ASSERT_TRUE(loaded.has_value()) << "round " << round;
        EXPECT_TRUE(*loaded == m_data || *loaded == other);
    }
    EXPECT_EQ(Entries(m_folder), std::set<std::string>{"tables.bin"});
}

#ifndef _WIN32
// Anything but a regular file at the path is refused at once: a FIFO would
// block a reader until some writer came, a device would feed it endless or
// foreign bytes (a link to the standard input would eat the program's input).
TEST_F(TableCacheFile, FifosDevicesAndLinksToThemAreRefusedWithoutBlocking)
{
    const fs::path fifo = m_folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(fifo, m_folder / "to-fifo");
    fs::create_symlink(m_path, m_folder / "to-file");
    struct Row {
        const char* what;
        fs::path path;
        bool bLoads;
    } rows[] = {{"a FIFO", fifo, false},
                {"a link to a FIFO", m_folder / "to-fifo", false},
                {"the null device", "/dev/null", false},
                {"a link to the standard input", "/dev/stdin", false},
                {"a folder", m_folder, false},
                {"a link to a whole file", m_folder / "to-file", true}};
    std::vector<Bytes> out;
    std::vector<Destination> d;
    for (const Bytes& b : m_data)
        out.emplace_back(b.size());
    for (Bytes& b : out)
        d.push_back({b.data(), b.size()});
    for (const Row& row : rows)
        EXPECT_EQ(Load(row.path.string(), kVersion, d), row.bLoads) << row.what;
    // Saving over the FIFO replaces it with a whole file.
    EXPECT_TRUE(Save(fifo.string(), kVersion, Segments()));
    EXPECT_TRUE(fs::is_regular_file(fifo));
    EXPECT_TRUE(Load(fifo.string(), kVersion, d));
}

// A writer killed while writing leaves its temporary file; the next write
// removes it, and leaves alone those of writers still at work (which hold a
// lock on theirs) and every other file.
TEST_F(TableCacheFile, TheNextWriteRemovesOnlyDeadWritersTemporaryFiles)
{
    const std::string dead = "tables.bin.0123456789abcdef-0.tmp";
    const std::string live = "tables.bin.fedcba9876543210-3.tmp";
    const std::string others[] = {"tables.bin.tmp", "tables.bin.0123456789abcdeg-0.tmp", "other.bin.0123456789abcdef-0.tmp",
                                  "tables.bin.0123456789abcdef-0.tmp.keep"};
    WriteFileBytes(m_folder / dead, RandomBytes(100, 1));
    WriteFileBytes(m_folder / live, RandomBytes(100, 2));
    for (const std::string& name : others)
        WriteFileBytes(m_folder / name, Bytes{1});
    const int fd = ::open((m_folder / live).c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);

    ASSERT_TRUE(Save(m_path, kVersion, Segments()));
    ::close(fd);
    std::set<std::string> expected(std::begin(others), std::end(others));
    expected.insert({"tables.bin", live});
    EXPECT_EQ(Entries(m_folder), expected);
    EXPECT_TRUE(LoadAll());
    // Its writer gone, the last one goes on the write after.
    ASSERT_TRUE(Save(m_path, kVersion, Segments()));
    expected.erase(live);
    EXPECT_EQ(Entries(m_folder), expected);
}
#endif

TEST(TableCacheChecksum, AnySingleChangedByteChangesIt)
{
    // Lengths below, at and above a 32-byte stripe, with a tail of each size.
    for (size_t n : {1, 7, 8, 31, 32, 33, 67, 100}) {
        Bytes b = RandomBytes(n, static_cast<std::uint32_t>(n));
        const std::uint64_t base = Checksum(b.data(), n);
        for (size_t i = 0; i < n; ++i)
            for (unsigned char mask : {0x01, 0x02, 0x80, 0xFF}) {
                b[i] ^= mask;
                EXPECT_NE(Checksum(b.data(), n), base) << n << " bytes, byte " << i;
                b[i] ^= mask;
            }
    }
}

TEST(TableCacheChecksum, SwappedWordsLengthAndSeedChangeIt)
{
    Bytes b = RandomBytes(8 * 40, 21);
    const std::uint64_t base = Checksum(b.data(), b.size());
    for (size_t i = 0; i < 40; ++i)
        for (size_t j = i + 1; j < 40; ++j) {
            Bytes s = b;
            std::swap_ranges(s.begin() + static_cast<std::ptrdiff_t>(8 * i),
                             s.begin() + static_cast<std::ptrdiff_t>(8 * i + 8),
                             s.begin() + static_cast<std::ptrdiff_t>(8 * j));
            EXPECT_NE(Checksum(s.data(), s.size()), base) << "words " << i << ", " << j;
        }
    // Trailing zeros are not the same as no bytes.
    Bytes zeros(16, 0);
    std::set<std::uint64_t> values;
    for (size_t n = 0; n <= zeros.size(); ++n)
        values.insert(Checksum(zeros.data(), n));
    EXPECT_EQ(values.size(), zeros.size() + 1);
    EXPECT_NE(Checksum(b.data(), b.size(), 1), base);
    EXPECT_EQ(Checksum(b.data(), b.size()), base);
}

#ifndef _WIN32
// Sets or unsets an environment variable for the scope, then restores it.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        Set(value);
    }
    ~EnvironmentVariable() { Set(m_old ? m_old->c_str() : nullptr); }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;
    void Set(const char* value)
    {
        if (value)
            setenv(m_name.c_str(), value, 1);
        else
            unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

TEST(TableCacheFolder, FollowsXdgCacheHomeThenHome)
{
    EnvironmentVariable xdg("XDG_CACHE_HOME", "/var/tmp/caches");
    EnvironmentVariable home("HOME", "/home/someone");
    EXPECT_EQ(DefaultCacheFolder(), "/var/tmp/caches/zelvorscube");
    // Relative or empty: ignored.
    xdg.Set("caches");
    EXPECT_EQ(DefaultCacheFolder(), "/home/someone/.cache/zelvorscube");
    xdg.Set("");
    EXPECT_EQ(DefaultCacheFolder(), "/home/someone/.cache/zelvorscube");
    xdg.Set(nullptr);
    EXPECT_EQ(DefaultCacheFolder(), "/home/someone/.cache/zelvorscube");
    // No home: no cache at all, even with a relative XDG_CACHE_HOME.
    home.Set(nullptr);
    EXPECT_EQ(DefaultCacheFolder(), "");
    xdg.Set("caches");
    EXPECT_EQ(DefaultCacheFolder(), "");
    xdg.Set("/c");
    EXPECT_EQ(DefaultCacheFolder(), "/c/zelvorscube");
}
#endif

} // namespace
