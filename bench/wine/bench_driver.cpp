// Times the program against the baseline under Wine and prints the medians and the goals.
//   bench_driver.exe PROGRAM32 BASELINE32
// The timed files are those of the build this driver belongs to: the program one folder
// up, the baseline beside the driver, the settle test program in tests\. The two
// arguments are the 32-bit (shipped) files, for the size figure.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "prompt/prompt_texts.h"
#include "prompt/web_page_launcher.h"
#include "tests/e2e/program_under_test.h"
#include "tests/e2e/user_input.h"

namespace {

constexpr int Pairs = 30;          // measured, after one warm-up pair
constexpr int SettleRuns = 5;
constexpr double StepTimeoutMs = 10000;

// Goals: the program at most this much slower or larger than the baseline.
constexpr double StartUpGoal = 1.05;
constexpr double MemoryGoal = 1.02;
constexpr double ClickGoal = 1.05;
constexpr double SizeGoal = 1.15;
constexpr double LaunchStepGoalMs = 1200;

double NowMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart / ticksPerMs;
}

// Polls `done` without a pause until it holds; the milliseconds since `startMs`, or -1
// once StepTimeoutMs have passed.
template <class Condition>
double ElapsedUntil(double startMs, Condition done)
{
    for (;;) {
        if (done())
            return NowMs() - startMs;
        if (NowMs() - startMs > StepTimeoutMs)
            return -1;
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of("\\/")); }

HWND FocusOf(DWORD thread)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

struct NoticeSearch {
    HWND other;
    HWND found;
};

BOOL CALLBACK FindNotice(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<NoticeSearch*>(parameter);
    if (window != search->other && IsWindowVisible(window) && ClassNameOf(window) == "#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible message box of the thread other than `other`, or null.
HWND VisibleNotice(DWORD thread, HWND other)
{
    NoticeSearch search = {other, nullptr};
    EnumThreadWindows(thread, FindNotice, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PressOk(HWND box)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

bool Ended(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

// Closes the notices with OK, then the main window, as a user would; ends the process by
// force only if it is still there after that. True when it ended by itself.
bool EndCleanly(const PROCESS_INFORMATION& process, HWND window)
{
    bool closePosted = false;
    double start = NowMs();
    while (window && NowMs() - start < 5000) {
        if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0)
            return true;
        if (HWND box = VisibleNotice(process.dwThreadId, nullptr))
            PressOk(box);
        else if (!closePosted)
            closePosted = PostMessageA(window, WM_CLOSE, 0, 0) != FALSE;
    }
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    return false;
}

// Waits until no URL handler started by an earlier run is still at work, so that each
// run starts on a quiet system; the program's runs start two.
void WaitForQuiet()
{
    for (double start = NowMs(); NowMs() - start < 5000; Sleep(20)) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        bool busy = false;
        for (BOOL more = Process32First(snapshot, &entry); more && !busy; more = Process32Next(snapshot, &entry)) {
            busy = lstrcmpiA(entry.szExeFile, "rundll32.exe") == 0
                || lstrcmpiA(entry.szExeFile, "winebrowser.exe") == 0;
        }
        CloseHandle(snapshot);
        if (!busy)
            return;
    }
}

struct Sample {
    double startUpMs = -1;
    double memoryKiB = -1;
    double clickMs = -1;
    double launchStepMs = -1;  // the program only
};

// One run: start-up, memory, click and (for the program) the launch step; then the end.
// False, with the reason printed, when a step did not come or the process had to be ended.
bool Measure(const std::string& path, bool withLaunchStep, Sample& sample)
{
    WaitForQuiet();
    std::string commandLine = "\"" + path + "\"";
    // Neither the started process nor the helpers Wine starts for it get this driver's
    // output, which whoever runs the benchmark reads until every writer has closed it.
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process;
    double start = NowMs();
    BOOL created = CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    DWORD error = GetLastError();
    CloseHandle(nul);
    if (!created) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", path.c_str(), error);
        return false;
    }

    const char* missing = nullptr;
    HWND button = nullptr;
    sample.startUpMs = ElapsedUntil(start, [&] {
        HWND focus = FocusOf(process.dwThreadId);
        if (focus && IsWindowVisible(focus) && ClassNameOf(focus) == "Button")
            button = focus;
        return button || Ended(process.hProcess);
    });
    HWND window = button ? GetAncestor(button, GA_ROOT) : nullptr;
    if (!button)
        missing = "a visible window with the focus on its button";

    if (!missing) {
        WaitForInputIdle(process.hProcess, 1000);
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
            sample.memoryKiB = memory.PagefileUsage / 1024.0;
        if (!MakeForeground(window))
            missing = "the foreground";
    }
    HWND first = nullptr;
    if (!missing) {
        RECT rect = WindowRect(button);
        POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        double clicked = NowMs();
        ClickAt(centre);
        sample.clickMs = ElapsedUntil(clicked, [&] {
            first = VisibleNotice(process.dwThreadId, nullptr);
            return first || Ended(process.hProcess);
        });
        if (!first)
            missing = "the first notice";
    }
    if (!missing && withLaunchStep) {
        double closed = NowMs();
        PressOk(first);
        sample.launchStepMs = ElapsedUntil(closed, [&] {
            return VisibleNotice(process.dwThreadId, first) || Ended(process.hProcess);
        });
        if (!VisibleNotice(process.dwThreadId, first))
            missing = "the second notice";
    }

    bool endedByItself = EndCleanly(process, window);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (missing)
        std::fprintf(stderr, "%s: no %s\n", path.c_str(), missing);
    else if (!endedByItself)
        std::fprintf(stderr, "%s: did not end when closed\n", path.c_str());
    return !missing && endedByItself;
}

// The first use of the desktop in a session starts Wine's desktop process, which takes
// seconds and outlives this driver: it is started here, before any timing, and without
// this driver's output.
void StartDesktop()
{
    const DWORD streams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE saved[3];
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    for (int i = 0; i < 3; ++i) {
        saved[i] = GetStdHandle(streams[i]);
        SetStdHandle(streams[i], nul);
    }
    GetDesktopWindow();
    for (int i = 0; i < 3; ++i)
        SetStdHandle(streams[i], saved[i]);
    CloseHandle(nul);
}

double FileBytes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return data.nFileSizeLow + 4294967296.0 * data.nFileSizeHigh;
}

const char* Verdict(bool pass) { return pass ? "PASS" : "MISS"; }

template <class Field>
std::vector<double> Figures(const std::vector<Sample>& samples, Field field)
{
    std::vector<double> values;
    for (const Sample& sample : samples)
        values.push_back(sample.*field);
    return values;
}

// A figure of both: the median of each side and the median of the pair ratios.
void PrintPairFigure(const char* name, const char* unit, const std::vector<double>& program,
                     const std::vector<double>& baseline, double goal)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < program.size(); ++i)
        ratios.push_back(program[i] / baseline[i]);
    double ratio = Median(ratios);
    std::printf("%-30s %10.1f %-3s %10.1f %-3s %7.3f  <= %.2f      %s\n", name, Median(program), unit,
                Median(baseline), unit, ratio, goal, Verdict(ratio <= goal));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_driver.exe PROGRAM32 BASELINE32\n");
        return 2;
    }
    char module[MAX_PATH];
    std::string benchFolder = FolderOf(std::string(module, GetModuleFileNameA(nullptr, module, MAX_PATH)));
    std::string runFolder = FolderOf(benchFolder);
    std::string program = runFolder + "\\quorvel-downloader.exe";
    std::string baseline = benchFolder + "\\bench_baseline.exe";
    std::string settleProgram = runFolder + "\\tests\\settle_program.exe";
    int bits = static_cast<int>(sizeof(void*) * 8);

    StartDesktop();
    std::printf("Timed: the %d-bit builds of the program and the baseline, same compile and link flags;\n"
                "%d pairs (program, then baseline) after a warm-up pair; medians.\n\n", bits, Pairs);

    // In each pair also the launcher's settling wait on the system's URL handler, by the
    // program's own call; the launch step less that wait is what the step costs besides.
    std::vector<Sample> programRuns, baselineRuns;
    std::vector<double> handlerSettle, launchBesidesSettle;
    for (int pair = 0; pair <= Pairs; ++pair) {
        Sample a, b;
        if (!Measure(program, true, a) || !Measure(baseline, false, b))
            return 1;
        WaitForQuiet();
        double start = NowMs();
        OpenWebPage(ForumPageAddress);
        double settle = NowMs() - start;
        if (pair > 0) {
            programRuns.push_back(a);
            baselineRuns.push_back(b);
            handlerSettle.push_back(settle);
            launchBesidesSettle.push_back(a.launchStepMs - settle);
        }
    }
    // The settling wait on a started program that never asks for input.
    std::vector<double> neverIdleSettle;
    for (int run = 0; run < SettleRuns; ++run) {
        WaitForQuiet();
        std::string commandLine = "settle_program.exe busy";
        double start = NowMs();
        if (!RunCommandLine(settleProgram.c_str(), &commandLine[0])) {
            std::fprintf(stderr, "cannot start %s\n", settleProgram.c_str());
            return 1;
        }
        neverIdleSettle.push_back(NowMs() - start);
        Sleep(1200);  // until it has ended by itself, two seconds after its start
    }

    std::printf("%-30s %14s %14s %7s  %s\n", "figure", "program", "baseline", "ratio", "goal");
    PrintPairFigure("start-up to focused button", "ms", Figures(programRuns, &Sample::startUpMs),
                    Figures(baselineRuns, &Sample::startUpMs), StartUpGoal);
    PrintPairFigure("memory after start-up", "KiB", Figures(programRuns, &Sample::memoryKiB),
                    Figures(baselineRuns, &Sample::memoryKiB), MemoryGoal);
    PrintPairFigure("click to first notice", "ms", Figures(programRuns, &Sample::clickMs),
                    Figures(baselineRuns, &Sample::clickMs), ClickGoal);

    // The launch step with a URL handler that never becomes idle: the step's cost besides
    // the settling wait, plus the wait on such a program.
    double neverIdle = Median(neverIdleSettle);
    double launchStepNeverIdle = Median(launchBesidesSettle) + neverIdle;
    std::printf("%-30s %10.1f ms\n", "launch step", Median(Figures(programRuns, &Sample::launchStepMs)));
    std::printf("%-30s %10.1f ms\n", "  settle wait, URL handler", Median(handlerSettle));
    std::printf("%-30s %10.1f ms\n", "  rest of the step", Median(launchBesidesSettle));
    std::printf("%-30s %10.1f ms\n", "settle wait, never-idle program", neverIdle);
    std::printf("%-30s %10.1f ms %14s %7s  <= %.0f ms  %s\n", "launch step, never-idle handler",
                launchStepNeverIdle, "", "", LaunchStepGoalMs, Verdict(launchStepNeverIdle <= LaunchStepGoalMs));

    double program32 = FileBytes(argv[1]), baseline32 = FileBytes(argv[2]);
    double sizeRatio = program32 / baseline32;
    std::printf("%-30s %10.0f B   %10.0f B   %7.3f  <= %.2f      %s\n", "size, 32-bit (shipped)", program32,
                baseline32, sizeRatio, SizeGoal, Verdict(sizeRatio <= SizeGoal));
    if (bits != 32) {
        double programTimed = FileBytes(program), baselineTimed = FileBytes(baseline);
        char name[32];
        std::snprintf(name, sizeof name, "size, %d-bit (timed)", bits);
        std::printf("%-30s %10.0f B   %10.0f B   %7.3f\n", name, programTimed, baselineTimed,
                    programTimed / baselineTimed);
    }
    return 0;
}
