// The session-end mark: a tag, the process id, the logon id and the boot time, little-endian.
#include "core/store/SessionEndMark.h"

#include "core/seams/DataFolder.h"
#include "core/seams/FileCalls.h"
#include "core/seams/Files.h"
#include "core/store/RecordReader.h"

namespace {

// "QSE1" as the file's first four bytes.
constexpr std::uint32_t kTag = 0x31455351u;

// Puts nSize bytes of the value at the offset, little-endian.
void PutAt(BYTES& bytes, std::size_t nOffset, std::uint64_t nValue, std::size_t nSize) {
    for (std::size_t i = 0; i < nSize; ++i) bytes[nOffset + i] = static_cast<std::uint8_t>(nValue >> (8 * i));
}

bool ReadInt64(CRecordReader& reader, std::uint64_t& n) {
    std::int32_t nLow = 0, nHigh = 0;
    if (!reader.ReadInt32(nLow) || !reader.ReadInt32(nHigh)) return false;
    n = std::uint64_t(static_cast<std::uint32_t>(nHigh)) << 32 | static_cast<std::uint32_t>(nLow);
    return true;
}

}  // namespace

bool CSessionEndMark::Save(const SESSION_END_MARK& mark) {
    BYTES bytes(FILE_SIZE);
    PutAt(bytes, 0, kTag, 4);
    PutAt(bytes, 4, mark.nPid, 4);
    PutAt(bytes, 8, mark.nLogon, 8);
    PutAt(bytes, 16, static_cast<std::uint64_t>(mark.tBoot), 8);
    return CFiles::Get().ReplaceAll(CDataFolder::PathOf(FILE_NAME), bytes);
}

std::optional<SESSION_END_MARK> CSessionEndMark::Take() {
    const std::string strPath = CDataFolder::PathOf(FILE_NAME);
    BYTES bytes;
    if (!CFiles::Get().ReadAll(strPath, bytes)) return std::nullopt;
    CFileCalls::Get().Remove(strPath);
    CRecordReader reader(bytes);
    SESSION_END_MARK mark;
    std::int32_t nTag = 0, nPid = 0;
    std::uint64_t nBoot = 0;
    if (bytes.size() != FILE_SIZE || !reader.ReadInt32(nTag) || static_cast<std::uint32_t>(nTag) != kTag ||
        !reader.ReadInt32(nPid) || !ReadInt64(reader, mark.nLogon) || !ReadInt64(reader, nBoot))
        return std::nullopt;
    mark.nPid = static_cast<std::uint32_t>(nPid);
    mark.tBoot = static_cast<TIMESECS>(nBoot);
    return mark;
}
