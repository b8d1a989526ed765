// Cost of one password check at the rounds new digests get; the goal is about a tenth of a
// second: slow enough for guessing, quick enough for a login.
#include "core/app/passworddigest.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

void checkAtDefaultRounds(benchmark::State &state)
{
    const QString stored = PasswordDigest::make(u"工资2024-admin"_s);
    for (auto _ : state)
        benchmark::DoNotOptimize(PasswordDigest::check(u"工资2024-admin"_s, stored));
}
BENCHMARK(checkAtDefaultRounds)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
