#pragma once
// Frequency rows computed on several threads but reported in row order from the calling thread,
// so that progress and the stop test behave as in a plain loop and the result does not depend
// on the thread count.
#include <functional>

namespace plexo {

// Computes rows 0 .. rows-1 with `jobs` threads, the calling thread being one of them (jobs <= 1:
// a plain loop on the calling thread). compute(row, worker) runs once per row, in any order and
// concurrently; worker (0 .. jobs-1) names the thread, for per-thread scratch. after(row) runs on
// the calling thread in row order, each once its row is computed; when it returns false no
// further row is started, the call waits for the rows in progress and returns false.
bool RunRowsInOrder(int rows, int jobs, const std::function<void(int row, int worker)>& compute,
                    const std::function<bool(int row)>& after);

// The thread count for a requested one: requested when positive, else one per hardware thread.
int CwtJobCount(int requested);

}  // namespace plexo
