// doctest's main, except that a run in which no test case passes the filters fails:
// a renamed or moved suite must not leave its CTest entry green with nothing run.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <cstdio>

namespace {

doctest::TestRunStats totals;

// Listens for the totals of the run; reports nothing itself.
struct Totals : doctest::IReporter {
    explicit Totals(const doctest::ContextOptions&) {}
    void report_query(const doctest::QueryData&) override {}
    void test_run_start() override {}
    void test_run_end(const doctest::TestRunStats& stats) override { totals = stats; }
    void test_case_start(const doctest::TestCaseData&) override {}
    void test_case_reenter(const doctest::TestCaseData&) override {}
    void test_case_end(const doctest::CurrentTestCaseStats&) override {}
    void test_case_exception(const doctest::TestCaseException&) override {}
    void subcase_start(const doctest::SubcaseSignature&) override {}
    void subcase_end() override {}
    void log_assert(const doctest::AssertData&) override {}
    void log_message(const doctest::MessageData&) override {}
    void test_case_skipped(const doctest::TestCaseData&) override {}
};

REGISTER_LISTENER("totals", 1, Totals);

}  // namespace

int main(int argc, char** argv) {
    doctest::Context context(argc, argv);
    const int result = context.run();
    if (context.shouldExit()) return result;  // a query, such as --list-test-cases, runs no test
    if (result == 0 && totals.numTestCasesPassingFilters == 0) {
        std::fprintf(stderr, "FAILED: no test case ran: the filters");
        for (int i = 1; i < argc; ++i) std::fprintf(stderr, " %s", argv[i]);
        std::fprintf(stderr, " match none of the %u test cases\n", totals.numTestCases);
        return 1;
    }
    return result;
}
