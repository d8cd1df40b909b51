// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own start-up, ending at its first paint.
#include "app/startup.h"
#include "bench/firstpaint.h"

int main(int argc, char *argv[])
{
    return runProgram(argc, argv, [](QWidget &window) { new FirstPaint(&window); });
}
