# SPDX-License-Identifier: GPL-3.0-or-later
# 32-bit Windows, the original's platform. SSE2 for every double, so that no result
# depends on x87 extended precision.
set(MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
