#pragma once
// A cache file of large tables: arrays that are slow to compute and quick to
// read back. Any file that is not exactly what was written for this version
// and these sizes is refused, so the caller builds the tables itself instead.
//
// File layout, every field little-endian:
//   8 bytes   magic "ZLVTBLC1"
//   u32       version (the caller's: bump it whenever the tables' contents change)
//   u32       segment count n
//   n x u64   byte sizes of the segments
//   u64       Checksum of the payload (see PayloadChecksum in TableCache.cpp)
//   payload   the segments' bytes, one after the other, without padding

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tablecache {

// One array stored in the file, in order.
struct Segment {
    const void* data;
    size_t bytes;
};

// One array to fill from the file: exactly `bytes` bytes are expected.
struct Destination {
    void* data;
    size_t bytes;
};

// The folder a command-line program keeps its caches in: $XDG_CACHE_HOME/zelvorscube when
// XDG_CACHE_HOME is set to an absolute path, else $HOME/.cache/zelvorscube (on Windows
// %LOCALAPPDATA%/zelvorscube), else "" (no cache).
std::string DefaultCacheFolder();

// Writes the segments to `path`, creating missing folders. Atomic: the file is
// written under a temporary name in the same folder and renamed over `path`, so
// a reader never sees a half-written file and writers racing each other leave
// one whole file. False, and no temporary file left behind, when anything fails.
// Temporary files that writers of `path` left when they died (killed while
// writing) are removed first; a live writer's, locked while it writes, stay.
// Never throws.
bool Save(const std::string& path, std::uint32_t version, const std::vector<Segment>& segments);

// Fills the destinations from `path`. True only when `path` is a regular file
// (or a link to one: a FIFO, a device or a socket is refused at once, never
// waited on), and the file's magic and
// version match, it holds exactly as many segments of exactly the destinations'
// sizes, nothing more, and the checksum matches. On false the destinations'
// contents are unspecified. On true, *pChecksum (when given) is the file's
// checksum of the payload, PayloadChecksum of the destinations. Never throws.
bool Load(const std::string& path, std::uint32_t version, const std::vector<Destination>& destinations,
          std::uint64_t* pChecksum = nullptr);

// The checksum a file of these segments holds: a fingerprint of their contents
// that a caller may compare with the one of the tables it would compute.
std::uint64_t PayloadChecksum(const std::vector<Segment>& segments);

// A fast 64-bit checksum (not cryptographic). Any single changed byte changes
// it, whatever the seed; swapped 8-byte words, or any other change, change it
// with all but negligible chance. The bytes are read as little-endian words, so
// the value is the same on every machine.
std::uint64_t Checksum(const void* data, size_t bytes, std::uint64_t seed = 0);

} // namespace tablecache
