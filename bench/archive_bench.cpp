// Opening and extracting every entry of a generated archive, the way a scene load does: the index
// is built once (on the first open), then each entry is found by name and read. Sizes of 125 to
// 1000 entries show the cost per entry stays flat (the "per_entry" counter, CPU time per entry).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "resources/archive.h"
#include "resources/rar_writer.h"

namespace {

struct GeneratedArchive {
    std::string path;
    std::vector<std::string> names;
};

// Entries of 200 to 4 KiB bytes under a few directories, like a scene's text files and meshes.
GeneratedArchive Generate(int entries) {
    GeneratedArchive g;
    std::vector<orv::StoredFile> files;
    for (int i = 0; i < entries; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "%s\\entry%04d.dat",
                      i % 3 == 0 ? "meshes" : i % 3 == 1 ? "objects" : "textures", i);
        orv::StoredFile f;
        f.name = name;
        f.data.resize(200 + static_cast<size_t>(i * 37) % 3900);
        for (size_t k = 0; k < f.data.size(); ++k) f.data[k] = static_cast<unsigned char>(k * 31 + i);
        g.names.push_back(name);
        files.push_back(std::move(f));
    }
    std::vector<unsigned char> bytes;
    std::string error;
    if (!orv::WriteStoredRar(std::move(files), &bytes, &error)) std::abort();
    g.path = "/tmp/orvello_archive_bench_" + std::to_string(entries) + ".sdd";
    std::ofstream(g.path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return g;
}

void BM_OpenAndExtractAll(benchmark::State& state) {
    const GeneratedArchive g = Generate(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        orv::ForgetArchiveIndexes();  // every round indexes the archive afresh, as a new run does
        for (const std::string& name : g.names) {
            orv::ExtractResult r = orv::ExtractEntry(g.path, name);
            if (r.status != orv::ExtractStatus::kOk) state.SkipWithError(r.detail.c_str());
            benchmark::DoNotOptimize(r.data);
            std::free(r.data);
        }
    }
    const double n = static_cast<double>(g.names.size());
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
    state.counters["per_entry"] = benchmark::Counter(
        n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    std::remove(g.path.c_str());
}
BENCHMARK(BM_OpenAndExtractAll)->Arg(125)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

// Looking up and reading one entry once the index exists.
void BM_ExtractOneIndexed(benchmark::State& state) {
    const GeneratedArchive g = Generate(500);
    const std::string& name = g.names[250];
    for (auto _ : state) {
        orv::ExtractResult r = orv::ExtractEntry(g.path, name);
        benchmark::DoNotOptimize(r.data);
        std::free(r.data);
    }
    std::remove(g.path.c_str());
}
BENCHMARK(BM_ExtractOneIndexed);

}  // namespace
