// CLinkedList against std::list: appending, and the cost of an empty list
// (two private heaps and a GUID-named mutex).
#include <benchmark/benchmark.h>

#include <list>

#include "containers/CLinkedList.h"

static void BM_LinkedListAdd(benchmark::State& state) {
    int value = 0;
    int* p = &value;
    for (auto _ : state) {
        CLinkedList<int*> list;
        for (int64_t i = 0; i < state.range(0); ++i) list.Add(&p);
        benchmark::DoNotOptimize(list.m_pTail);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LinkedListAdd)->Arg(100000);

static void BM_StdListPushBack(benchmark::State& state) {
    int value = 0;
    for (auto _ : state) {
        std::list<int*> list;
        for (int64_t i = 0; i < state.range(0); ++i) list.push_back(&value);
        benchmark::DoNotOptimize(list.back());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StdListPushBack)->Arg(100000);

static void BM_LinkedListConstructDestroy(benchmark::State& state) {
    for (auto _ : state) {
        CLinkedList<int*> list;
        benchmark::DoNotOptimize(list.m_hNodeHeap);
    }
}
BENCHMARK(BM_LinkedListConstructDestroy);

static void BM_StdListConstructDestroy(benchmark::State& state) {
    for (auto _ : state) {
        std::list<int*> list;
        benchmark::DoNotOptimize(&list);
    }
}
BENCHMARK(BM_StdListConstructDestroy);
