#include "TableCache.h"

#include <algorithm>
#include <cctype>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tablecache {

namespace {

constexpr unsigned char kMagic[8] = {'Z', 'L', 'V', 'T', 'B', 'L', 'C', '1'};
// Magic, version and segment count; then 8 bytes per segment and the checksum.
constexpr size_t kFixedHeaderBytes = 16;
// The payload is read, written and checksummed in blocks of this size, small
// enough to be checksummed while it is still in the processor's cache.
constexpr size_t kBlockBytes = size_t(1) << 20;

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;

std::uint64_t RotateLeft(std::uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

// A bijection of v for every w and of w for every v: that is what makes a
// single changed word always change the checksum.
std::uint64_t Round(std::uint64_t v, std::uint64_t w) { return RotateLeft(v + w * kPrime2, 31) * kPrime1; }

// A bijection of h for every v and of v for every h.
std::uint64_t Merge(std::uint64_t h, std::uint64_t v) { return (h ^ Round(0, v)) * kPrime1 + kPrime4; }

std::uint64_t ReadLE64(const unsigned char* p)
{
#if defined(__BYTE_ORDER__) && defined(__ORDER_BIG_ENDIAN__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    std::uint64_t x = 0;
    for (int i = 7; i >= 0; --i)
        x = (x << 8) | p[i];
    return x;
#else
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    return x;
#endif
}

void PutLE(std::vector<unsigned char>& out, std::uint64_t x, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(x >> (8 * i)));
}

std::uint64_t GetLE(const unsigned char* p, int bytes)
{
    std::uint64_t x = 0;
    for (int i = bytes - 1; i >= 0; --i)
        x = (x << 8) | p[i];
    return x;
}

// The file's checksum: each block's checksum merged in order. Merge keeps the
// guarantee that a single changed byte anywhere changes the result.
class PayloadSum {
public:
    void Add(const void* data, size_t bytes)
    {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t done = 0; done < bytes;) {
            const size_t n = std::min(kBlockBytes, bytes - done);
            m_value = Merge(m_value, Checksum(p + done, n));
            done += n;
        }
    }
    std::uint64_t Value() const { return m_value; }

private:
    std::uint64_t m_value = 0;
};

// Closes the file when it goes out of scope unless Close() was called.
class File {
public:
    File(const char* name, const char* mode) : m_file(std::fopen(name, mode)) {}
    explicit File(std::FILE* f) : m_file(f) {}
    ~File()
    {
        if (m_file)
            std::fclose(m_file);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    std::FILE* Get() const { return m_file; }
    bool Close()
    {
        std::FILE* f = m_file;
        m_file = nullptr;
        return f && std::fclose(f) == 0;
    }

private:
    std::FILE* m_file;
};

bool WriteAll(std::FILE* f, const void* data, size_t bytes)
{
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t done = 0; done < bytes;) {
        const size_t n = std::min(kBlockBytes, bytes - done);
        if (std::fwrite(p + done, 1, n, f) != n)
            return false;
        done += n;
    }
    return true;
}

// Differs for every call in this process and, with all but negligible chance,
// from every other process's calls.
std::string TemporarySuffix()
{
    static std::atomic<std::uint64_t> counter{0};
    static const std::uint64_t processTag = [] {
        std::uint64_t tag = 0;
        try {
            std::random_device rd;
            tag = (std::uint64_t(rd()) << 32) ^ rd();
        } catch (...) {
        }
        // A random_device may be deterministic: mix in the clock too.
        const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        return tag ^ (static_cast<std::uint64_t>(ticks) * kPrime1);
    }();
    const std::uint64_t n = counter.fetch_add(1);
    char text[40];
    std::snprintf(text, sizeof text, ".%016llx-%llu.tmp", static_cast<unsigned long long>(processTag),
                  static_cast<unsigned long long>(n));
    return text;
}


// Opens path for reading only when it is a regular file (following links),
// never blocking: a FIFO, a device or a socket at the path is refused without
// waiting for a writer, and the file opened is the one checked.
std::FILE* OpenRegularForReading(const std::string& path)
{
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec))
        return nullptr;
    return std::fopen(path.c_str(), "rb");
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    // Reads of a regular file never block; clear the flag all the same.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f)
        ::close(fd);
    return f;
#endif
}

// A temporary file's name is the target's name and a suffix of TemporarySuffix's
// form: ".<16 hex digits>-<digits>.tmp".
bool IsTemporaryOf(const std::string& name, const std::string& target)
{
    if (name.size() < target.size() + 23 || name.compare(0, target.size(), target) != 0)
        return false;
    const std::string suffix = name.substr(target.size());
    if (suffix[0] != '.' || suffix[17] != '-' || suffix.compare(suffix.size() - 4, 4, ".tmp") != 0)
        return false;
    for (size_t i = 1; i < suffix.size() - 4; ++i)
        if (i != 17 && !std::isxdigit(static_cast<unsigned char>(suffix[i])))
            return false;
    return true;
}

#ifndef _WIN32
// A writer holds an exclusive lock on its temporary file until the file is
// renamed or removed, so a temporary file that can be locked belongs to a
// writer that died.
bool LockTemporary(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }
#endif

// Removes the temporary files that writers of target left when they died
// (killed while writing, say). Files of live writers stay.
void RemoveStaleTemporaries(const fs::path& target)
{
    std::error_code ec;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string name = target.filename().string();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        if (!IsTemporaryOf(entry.filename().string(), name))
            continue;
#ifdef _WIN32
        // A file another process has open cannot be removed there.
        std::error_code ignored;
        fs::remove(entry, ignored);
#else
        const int fd = ::open(entry.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened, named;
        // Remove it only while locked and only if the name still means the
        // file locked (not one made since under the same name).
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && LockTemporary(fd) &&
            ::lstat(entry.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            ::unlink(entry.c_str());
        ::close(fd);
#endif
    }
}

} // namespace

std::uint64_t Checksum(const void* data, size_t bytes, std::uint64_t seed)
{
    const auto* p = static_cast<const unsigned char*>(data);
    const unsigned char* const end = p + bytes;
    // The lanes do not depend on the seed, so the result is a bijection of the
    // seed and checksums can be chained without losing the single-byte guarantee.
    std::uint64_t v0 = kPrime1 + kPrime2, v1 = kPrime2, v2 = 0, v3 = 0 - kPrime1;
    std::uint64_t h = seed ^ (static_cast<std::uint64_t>(bytes) * kPrime3);
    if (bytes >= 32) {
        for (; end - p >= 32; p += 32) {
            v0 = Round(v0, ReadLE64(p));
            v1 = Round(v1, ReadLE64(p + 8));
            v2 = Round(v2, ReadLE64(p + 16));
            v3 = Round(v3, ReadLE64(p + 24));
        }
        h = Merge(Merge(Merge(Merge(h, v0), v1), v2), v3);
    }
    for (; end - p >= 8; p += 8)
        h = Merge(h, ReadLE64(p));
    if (p != end)
        h = Merge(h, GetLE(p, static_cast<int>(end - p)));
    // Bijective avalanche.
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return h;
}

std::string DefaultCacheFolder()
{
    try {
        const char* xdg = std::getenv("XDG_CACHE_HOME");
        if (xdg && *xdg && fs::path(xdg).is_absolute())
            return (fs::path(xdg) / "zelvorscube").string();
#ifdef _WIN32
        const char* local = std::getenv("LOCALAPPDATA");
        if (local && *local)
            return (fs::path(local) / "zelvorscube").string();
#else
        const char* home = std::getenv("HOME");
        if (home && *home)
            return (fs::path(home) / ".cache" / "zelvorscube").string();
#endif
    } catch (...) {
    }
    return {};
}

bool Save(const std::string& path, std::uint32_t version, const std::vector<Segment>& segments)
{
    std::string temporary;
    try {
        if (path.empty() || segments.size() > 0xFFFFFFFFu)
            return false;
        const fs::path target(path);
        std::error_code ec;
        if (fs::is_directory(target, ec))
            return false;
        const fs::path folder = target.parent_path();
        if (!folder.empty()) {
            fs::create_directories(folder, ec);
            if (ec || !fs::is_directory(folder, ec))
                return false;
        }

        std::vector<unsigned char> header(kMagic, kMagic + sizeof kMagic);
        PutLE(header, version, 4);
        PutLE(header, segments.size(), 4);
        PayloadSum sum;
        for (const Segment& s : segments) {
            PutLE(header, s.bytes, 8);
            sum.Add(s.data, s.bytes);
        }
        PutLE(header, sum.Value(), 8);

        RemoveStaleTemporaries(target);

        // "x": never open another writer's temporary file.
        std::FILE* f = nullptr;
        std::unique_ptr<File> file;
        for (int attempt = 0; attempt < 4 && !f; ++attempt) {
            temporary = path + TemporarySuffix();
            file = std::make_unique<File>(temporary.c_str(), "wbx");
            f = file->Get();
#ifndef _WIN32
            // Locked, the file is known to belong to a live writer. Another
            // writer may have taken it for a dead one's in the instant before
            // the lock: then it is gone, and another name is tried.
            struct stat st;
            if (f && (!LockTemporary(fileno(f)) || ::fstat(fileno(f), &st) != 0 || st.st_nlink == 0)) {
                file.reset();
                f = nullptr;
            }
#endif
        }
        if (!f) {
            temporary.clear();
            return false;
        }
        bool bOk = WriteAll(f, header.data(), header.size());
        for (const Segment& s : segments)
            bOk = bOk && WriteAll(f, s.data, s.bytes);
        bOk = bOk && std::fflush(f) == 0 && !std::ferror(f);
#ifdef _WIN32
        // An open file cannot be renamed here; fclose reports write errors
        // that buffering held back (a full disk).
        bOk = file->Close() && bOk;
        if (bOk) {
            fs::rename(temporary, target, ec);
            std::error_code statusError;
            if (ec && !fs::is_directory(target, statusError)) {
                // Some systems do not rename over an existing file.
                fs::remove(target, ec);
                fs::rename(temporary, target, ec);
            }
            bOk = !ec;
        }
#else
        // Renamed while still locked, so that no other writer takes it for a
        // dead one's; close reports write errors that buffering held back (a
        // full disk), and then the renamed file goes too.
        if (bOk) {
            fs::rename(temporary, target, ec);
            bOk = !ec;
            if (bOk)
                temporary.clear();
        }
        if (!file->Close() && bOk) {
            std::error_code ignored;
            fs::remove(target, ignored);
            bOk = false;
        }
#endif
        if (bOk)
            return true;
    } catch (...) {
    }
    if (!temporary.empty()) {
        std::error_code ignored;
        fs::remove(fs::path(temporary), ignored);
    }
    return false;
}

std::uint64_t PayloadChecksum(const std::vector<Segment>& segments)
{
    PayloadSum sum;
    for (const Segment& s : segments)
        sum.Add(s.data, s.bytes);
    return sum.Value();
}

bool Load(const std::string& path, std::uint32_t version, const std::vector<Destination>& destinations,
          std::uint64_t* pChecksum)
{
    try {
        if (destinations.size() > 0xFFFFFFFFu)
            return false;
        // The payload's size, refusing a sum that would overflow.
        std::uint64_t payload = 0;
        for (const Destination& d : destinations) {
            if (d.bytes > UINT64_MAX - payload)
                return false;
            payload += d.bytes;
        }
        const std::uint64_t headerBytes = kFixedHeaderBytes + 8 * (destinations.size() + 1);
        if (payload > UINT64_MAX - headerBytes)
            return false;

        File file(OpenRegularForReading(path));
        std::FILE* f = file.Get();
        if (!f)
            return false;
        // An early refusal of a file of the wrong size; the reads below are what
        // decide (the file may have been replaced since it was opened).
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(fs::path(path), ec);
        if (!ec && size != payload + headerBytes)
            return false;

        std::vector<unsigned char> header(static_cast<size_t>(headerBytes));
        if (std::fread(header.data(), 1, header.size(), f) != header.size())
            return false;
        const unsigned char* p = header.data();
        if (!std::equal(kMagic, kMagic + sizeof kMagic, p) || GetLE(p + 8, 4) != version ||
            GetLE(p + 12, 4) != destinations.size())
            return false;
        p += kFixedHeaderBytes;
        for (const Destination& d : destinations) {
            if (GetLE(p, 8) != d.bytes)
                return false;
            p += 8;
        }
        const std::uint64_t expected = GetLE(p, 8);

        PayloadSum sum;
        for (const Destination& d : destinations) {
            auto* q = static_cast<unsigned char*>(d.data);
            for (size_t done = 0; done < d.bytes;) {
                const size_t n = std::min(kBlockBytes, d.bytes - done);
                if (std::fread(q + done, 1, n, f) != n)
                    return false;
                sum.Add(q + done, n);
                done += n;
            }
        }
        if (std::fgetc(f) != EOF || std::ferror(f) || sum.Value() != expected)
            return false;
        if (pChecksum)
            *pChecksum = expected;
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace tablecache
