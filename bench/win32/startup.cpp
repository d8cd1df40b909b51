// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of ratinor.exe against the bare window, alternately, round after round: each
// from CreateProcess until it waits for input with its window painted (WaitForInputIdle),
// then it is ended. Prints the medians and the median of the per-round ratios.
// Usage: startup PROGRAM.EXE BARE.EXE [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double startOnce(const wchar_t *exe, const std::wstring &folder)
{
    std::wstring line = std::wstring(L"\"") + exe + L"\"";
    STARTUPINFOW start {};
    start.cb = sizeof start;
    PROCESS_INFORMATION process {};
    LARGE_INTEGER frequency {};
    LARGE_INTEGER before {};
    LARGE_INTEGER after {};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    if (!CreateProcessW(exe, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &start, &process))
        return -1;
    WaitForInputIdle(process.hProcess, 20000);
    QueryPerformanceCounter(&after);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return double(after.QuadPart - before.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup PROGRAM.EXE BARE.EXE [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 3 ? _wtoi(argv[3]) : 20;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp;
    std::vector<double> program;
    std::vector<double> bare;
    std::vector<double> ratios;
    for (int round = -3; round < rounds; ++round) { // three rounds to warm up
        const bool programFirst = round % 2 == 0;
        const double a = startOnce(argv[programFirst ? 1 : 2], folder);
        const double b = startOnce(argv[programFirst ? 2 : 1], folder);
        if (a < 0 || b < 0)
            return 1;
        if (round < 0)
            continue;
        program.push_back(programFirst ? a : b);
        bare.push_back(programFirst ? b : a);
        ratios.push_back(program.back() / bare.back());
    }
    std::printf("rounds: %d after 3 warm-up rounds, interleaved, under wine\n", rounds);
    std::printf("start to first paint ms: program %.1f, bare %.1f, ratio %.3f\n", median(program),
                median(bare), median(ratios));
    return 0;
}
