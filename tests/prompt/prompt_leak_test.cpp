// A hundred click sequences leave the program's handles and private memory where they
// were after the first.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/prompt/prompt_driver.h"

namespace {

// The number of handles a process holds, counted by the system for all processes; the
// per-process count is not given for other processes under Wine.
DWORD HandleCountOf(DWORD processId)
{
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    struct HandleEntry {
        ULONG processId;
        UCHAR objectType;
        UCHAR flags;
        USHORT handle;
        void* object;
        ACCESS_MASK access;
    };
    constexpr ULONG SystemHandleInformation = 16;
    constexpr LONG InfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> buffer(1 << 16);
    LONG status;
    while ((status = query(SystemHandleInformation, buffer.data(), ULONG(buffer.size()), nullptr)) == InfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status < 0)
        return 0;
    ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(void*));
    DWORD held = 0;
    for (ULONG i = 0; i < count; ++i)
        held += entries[i].processId == processId;
    return held;
}

SIZE_T PrivateBytesOf(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    CloseHandle(process);
    // Wine leaves PrivateUsage at 0; PagefileUsage tracks the private memory there.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

// How many handles the system itself keeps in a process for each WaitForInputIdle on a
// new process (none on Windows, one under Wine), measured here with the calls the program
// makes, on the same URL handler.
DWORD HandlesKeptByOneSettlingWait()
{
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    std::string program = std::string(folder, length) + "\\rundll32.exe";
    std::string commandLine = "rundll32.exe url.dll,FileProtocolHandler " + ForumPage;
    // Counted the way the program's handles are counted.
    const DWORD before = HandleCountOf(GetCurrentProcessId());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 0;
    WaitForInputIdle(process.hProcess, 1000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const DWORD after = HandleCountOf(GetCurrentProcessId());
    // Let its page reach the browser before the test empties the browser's log.
    Sleep(500);
    return after - before;
}

// The first start of a process opens handles of its own; the second one shows what stays.
DWORD HandlesKeptPerSettlingWait()
{
    HandlesKeptByOneSettlingWait();
    return HandlesKeptByOneSettlingWait();
}

bool UrlHandlerRunning()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool running = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !running; more = Process32Next(snapshot, &entry))
        running = lstrcmpiA(entry.szExeFile, "rundll32.exe") == 0;
    CloseHandle(snapshot);
    return running;
}

// The program back in its message loop: no URL handler left whose settling it may still
// be waiting for, and so no handle of a started process still open.
bool ProgramSettled(const ProgramUnderTest& program)
{
    return WaitFor([] { return !UrlHandlerRunning(); }, 10000) &&
           WaitFor([&] { return IsWindowEnabled(program.Window()) != FALSE; }, 3000) &&
           HoldsFor([] { return !UrlHandlerRunning(); }, 300);
}

}  // namespace

TEST(PromptLeaks, AHundredSequencesLeaveHandlesAndMemoryAsTheyWere)
{
    constexpr int Sequences = 100;
    constexpr SIZE_T MemoryTolerance = 64 * 1024;
    const DWORD keptPerWait = HandlesKeptPerSettlingWait();

    BrowserLog log;
    ProgramUnderTest program;
    ASSERT_TRUE(program.Started()) << program.StartFailure();
    ClickButton(program);
    RunSequence(program, log, 0);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(ProgramSettled(program));
    const DWORD handlesBefore = HandleCountOf(program.ProcessId());
    const SIZE_T bytesBefore = PrivateBytesOf(program.ProcessId());

    DWORD start = GetTickCount();
    for (int sequence = 1; sequence <= Sequences; ++sequence) {
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(program.Window()) != FALSE; }, 3000));
        // The button takes the click as a message, as the mouse would give it.
        PostMessageA(program.Window(), WM_COMMAND, MAKEWPARAM(ButtonId, BN_CLICKED), LPARAM(program.Button()));
        RunSequence(program, log, 2 * sequence);
        ASSERT_FALSE(HasFatalFailure()) << "sequence " << sequence;
    }
    const DWORD took = GetTickCount() - start;
    ASSERT_TRUE(ProgramSettled(program));
    const DWORD handlesAfter = HandleCountOf(program.ProcessId());
    const SIZE_T bytesAfter = PrivateBytesOf(program.ProcessId());

    std::printf("%d sequences in %lu ms (%lu ms each, notices closed at once)\n", Sequences, took, took / Sequences);
    std::printf("handles %lu -> %lu (the system keeps %lu per settling wait, two waits a sequence)\n",
                handlesBefore, handlesAfter, keptPerWait);
    std::printf("private bytes %lu -> %lu\n", static_cast<unsigned long>(bytesBefore),
                static_cast<unsigned long>(bytesAfter));
    EXPECT_GT(handlesBefore, 0u) << "the system's handle list could not be read";
    EXPECT_EQ(handlesAfter, handlesBefore + Sequences * 2 * keptPerWait);
    EXPECT_LE(bytesAfter, bytesBefore + MemoryTolerance);
    EXPECT_EQ(log.Lines().size(), size_t(2 + 2 * Sequences));
}
