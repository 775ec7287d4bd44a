// Outside checkers (validators, other tools) that some tests need.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace verdel::test {

// Whether a missing checker fails the test: in CI (CI set) and in
// scripts/test.sh (VERDEL_REQUIRE_ORACLES set), where the set-up installs them.
inline bool OraclesRequired() { return std::getenv("CI") || std::getenv("VERDEL_REQUIRE_ORACLES"); }

} // namespace verdel::test

// Ends the test when the checker What is not Present: a failure where
// checkers are required, else a skip announced loudly on standard error.
#define VERDEL_REQUIRE_ORACLE(Present, What)                                                           \
    do {                                                                                               \
        if (!(Present)) {                                                                              \
            if (verdel::test::OraclesRequired()) FAIL() << (What) << " is missing; run scripts/setup.sh"; \
            std::fprintf(stderr, "\n*** SKIPPED: %s is missing; this check did not run ***\n\n", (What));  \
            GTEST_SKIP() << (What) << " is missing";                                                   \
        }                                                                                              \
    } while (0)
