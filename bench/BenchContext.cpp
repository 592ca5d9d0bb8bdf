//===- bench/BenchContext.cpp - what the figures were taken with ----------===//
//
// Linked into every benchmark program. Before main runs it adds two entries
// to the run's context (the header of the console output, the "context"
// object of the JSON output), which bench/table.py prints under each table:
//   compiler   the compiler and the flags the program was built with
//   malloc     glibc's version and whatever the environment changed about
//              the allocator (tunables, a preloaded library); fresh pages are
//              expensive on the machines these figures come from, so this
//              matters as much as the compiler
//===----------------------------------------------------------------------===//
#include <benchmark/benchmark.h>

#include <gnu/libc-version.h>

#include <cstdlib>
#include <string>

namespace {

std::string Compiler() {
#if defined(__clang__)
  std::string compiler = "clang " __clang_version__;
#else
  std::string compiler = "g++ " __VERSION__;
#endif
#if defined(ZQ_BENCH_FLAGS)
  compiler += " " ZQ_BENCH_FLAGS;
#endif
  return compiler;
}

std::string MallocSettings() {
  std::string settings = std::string("glibc ") + gnu_get_libc_version();
  bool changed = false;
  for (const char* name : {"LD_PRELOAD", "GLIBC_TUNABLES", "MALLOC_ARENA_MAX",
                           "MALLOC_MMAP_THRESHOLD_", "MALLOC_TRIM_THRESHOLD_", "MALLOC_TOP_PAD_"}) {
    if (const char* value = std::getenv(name)) {
      settings += std::string(", ") + name + "=" + value;
      changed = true;
    }
  }
  return settings + (changed ? "" : ", default settings (dynamic mmap threshold)");
}

struct AddContext {
  AddContext() {
    benchmark::AddCustomContext("compiler", Compiler());
    benchmark::AddCustomContext("malloc", MallocSettings());
  }
} gAddContext;

}  // namespace
