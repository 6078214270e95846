// Private heaps against the C library's allocator: the create/destroy pair a
// list pays per instance, and block allocation, one at a time and in batches.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "platform/kernel/Heaps.h"

namespace {

void BM_HeapCreateDestroy(benchmark::State& state) {
    for (auto _ : state) {
        HANDLE heap = HeapCreate(0, 120, 0);
        benchmark::DoNotOptimize(heap);
        HeapDestroy(heap);
    }
}
BENCHMARK(BM_HeapCreateDestroy);

// A small list's life: two heaps, ten nodes and ten elements, then destroy.
void BM_HeapSmallListLife(benchmark::State& state) {
    for (auto _ : state) {
        HANDLE nodes = HeapCreate(0, 120, 0);
        HANDLE values = HeapCreate(0, 10 * 16, 0);
        for (int i = 0; i < 10; ++i) {
            benchmark::DoNotOptimize(HeapAlloc(nodes, HEAP_ZERO_MEMORY, 24));
            benchmark::DoNotOptimize(HeapAlloc(values, HEAP_ZERO_MEMORY, 16));
        }
        HeapDestroy(values);
        HeapDestroy(nodes);
    }
}
BENCHMARK(BM_HeapSmallListLife);

void BM_MallocSmallListLife(benchmark::State& state) {
    void* blocks[20];
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) {
            blocks[2 * i] = std::calloc(1, 24);
            blocks[2 * i + 1] = std::calloc(1, 16);
            benchmark::DoNotOptimize(blocks[2 * i]);
        }
        for (void* p : blocks) std::free(p);
    }
}
BENCHMARK(BM_MallocSmallListLife);

void BM_HeapAllocFree(benchmark::State& state) {
    HANDLE heap = HeapCreate(0, 0, 0);
    size_t size = size_t(state.range(0));
    for (auto _ : state) {
        void* p = HeapAlloc(heap, 0, size);
        benchmark::DoNotOptimize(p);
        HeapFree(heap, 0, p);
    }
    HeapDestroy(heap);
}
BENCHMARK(BM_HeapAllocFree)->Arg(24)->Arg(256)->Arg(4096);

void BM_CallocFree(benchmark::State& state) {
    size_t size = size_t(state.range(0));
    for (auto _ : state) {
        void* p = std::calloc(1, size);
        benchmark::DoNotOptimize(p);
        std::free(p);
    }
}
BENCHMARK(BM_CallocFree)->Arg(24)->Arg(256)->Arg(4096);

void BM_HeapBatch(benchmark::State& state) {
    HANDLE heap = HeapCreate(0, 0, 0);
    std::vector<void*> blocks(size_t(state.range(0)));
    for (auto _ : state) {
        for (void*& p : blocks) p = HeapAlloc(heap, 0, 24);
        for (void* p : blocks) HeapFree(heap, 0, p);
    }
    HeapDestroy(heap);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HeapBatch)->Arg(1000);

void BM_CallocBatch(benchmark::State& state) {
    std::vector<void*> blocks(size_t(state.range(0)));
    for (auto _ : state) {
        for (void*& p : blocks) p = std::calloc(1, 24);
        for (void* p : blocks) std::free(p);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CallocBatch)->Arg(1000);

}  // namespace
