// The GDI objects of another process: GetGuiResources on Windows; under Wine, the handle table
// that the process's PEB points to, which holds one entry per live object of that process.
#include "Commands.h"

#include <cstdio>
#include <vector>
#include <winternl.h>

namespace {

struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type; // 0 for a free entry
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiHandleCount = 0x10000;
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8; // 64-bit PEB

bool read(HANDLE process, std::uint64_t address, void* into, std::size_t size) {
    SIZE_T done = 0;
    return ReadProcessMemory(process, reinterpret_cast<void*>(address), into, size, &done) &&
           done == size;
}

// The number of live GDI objects of a process, or -1 when its table cannot be read.
long gdiObjects(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                  nullptr) != 0)
        return -1;
    std::uint64_t table = 0;
    const auto peb = reinterpret_cast<std::uintptr_t>(basic.PebBaseAddress);
    if (!read(process, peb + kPebGdiSharedHandleTable, &table, sizeof table) || table == 0)
        return -1;
    std::vector<GdiHandleEntry> entries(kGdiHandleCount);
    if (!read(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry)))
        return -1;
    long live = 0;
    for (const GdiHandleEntry& entry : entries)
        live += entry.type != 0;
    return live;
}

// The count follows this process's own objects one for one, or it counts nothing real.
bool countFollowsOwnObjects() {
    constexpr int kBrushes = 8;
    const long before = gdiObjects(GetCurrentProcess());
    HBRUSH brushes[kBrushes];
    for (int i = 0; i < kBrushes; ++i)
        brushes[i] = CreateSolidBrush(RGB(i, 0, 0));
    const long during = gdiObjects(GetCurrentProcess());
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    const long after = gdiObjects(GetCurrentProcess());
    return before > 0 && during == before + kBrushes && after == before;
}

} // namespace

int countGdiObjects(Args args) {
    const UniqueKernelHandle process =
        openProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, args[0]);
    if (!process)
        return 1;
    if (const DWORD counted = GetGuiResources(process.get(), GR_GDIOBJECTS)) {
        std::printf("objects=%lu\n", counted);
        return 0;
    }
    if (!countFollowsOwnObjects()) {
        std::printf("the handle table does not follow this process's own objects\n");
        return 1;
    }
    const long live = gdiObjects(process.get());
    std::printf("objects=%ld\n", live);
    return live < 0 ? 1 : 0;
}
