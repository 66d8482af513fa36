// SPDX-License-Identifier: MIT
#pragma once

// KORVATEL_EXPORT marks the engine's public classes and functions. A shared build of the
// engine hides every other symbol, so that its helpers never clash with a program's own;
// a static build (KORVATEL_CHART_STATIC) needs no marks.
#if defined(KORVATEL_CHART_STATIC)
#define KORVATEL_EXPORT
#elif defined(_WIN32)
#if defined(KORVATEL_CHART_BUILDING)
#define KORVATEL_EXPORT __declspec(dllexport)
#else
#define KORVATEL_EXPORT __declspec(dllimport)
#endif
#else
#define KORVATEL_EXPORT __attribute__((visibility("default")))
#endif
