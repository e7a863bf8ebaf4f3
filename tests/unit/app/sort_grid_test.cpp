#include "app/sort_grid.h"
#include "backends/sim/world.h"
#include "literal_reference.h"
#include "ui/application.h"
#include "ui/error.h"

#include <gtest/gtest.h>

#include <random>

namespace quillop {
namespace {

using literal::Table;

class SortGridTest : public ::testing::Test {
protected:
    void Load(const Table& rows) {
        grid_.SetColCount(2);
        grid_.SetRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
            for (int c = 0; c < 2; ++c) {
                grid_.SetCell(c, r, rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
            }
        }
    }
    Table Rows() const {
        Table t;
        for (int r = 0; r < grid_.RowCount(); ++r) {
            t.push_back({grid_.Cell(0, r), grid_.Cell(1, r)});
        }
        return t;
    }
    std::vector<std::string> Column(int c) const {
        std::vector<std::string> v;
        for (int r = 0; r < grid_.RowCount(); ++r) {
            v.push_back(grid_.Cell(c, r));
        }
        return v;
    }
    void SortByTitle() { Sort_Grid(app_, grid_, 1, false, true, false); }
    void SortById() { Sort_Grid(app_, grid_, 0, false, true, true); }

    platform::sim::World world_;
    ui::Application app_{world_.services, nullptr};
    ui::StringGrid grid_{"Windows_StringGrid", nullptr};
};

TEST_F(SortGridTest, ById_OrdersNumerically) {
    Load({{"1000", "a"}, {"999", "b"}, {"65552", "c"}, {"20", "d"}});
    SortById();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"20", "999", "1000", "65552"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"d", "b", "a", "c"})); // rows travel whole
}

TEST_F(SortGridTest, ById_PutsIdsPastTheSignedRangeAfterTheOthers) {
    Load({{"4294967294", "a"}, {"2147483648", "b"}, {"2147483647", "c"}, {"10", "d"}});
    SortById();
    EXPECT_EQ(Column(0),
              (std::vector<std::string>{"10", "2147483647", "2147483648", "4294967294"}));
    EXPECT_TRUE(world_.boxes.Shown().empty());
}

TEST_F(SortGridTest, ByTitle_FoldsOnlyAToZAndIsStable) {
    Load({{"1", "beta"},
          {"2", "Zeta"},
          {"3", "BETA"},
          {"4", "alpha"},
          {"5", "\xE9t\xE9"},
          {"6", "\xC9t\xE9"},
          {"7", "This Window has no title"},
          {"8", "Beta"},
          {"9", "tango"},
          {"10", "Um"}});
    SortByTitle();
    EXPECT_EQ(Column(0),
              (std::vector<std::string>{"4", "1", "3", "8", "9", "7", "10", "2", "6", "5"}));
}

TEST_F(SortGridTest, ByTitle_ShorterPrefixFirst) {
    Load({{"1", "abc"}, {"2", "ab"}, {"3", ""}, {"4", "ABD"}});
    SortByTitle();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"3", "2", "1", "4"}));
}

TEST_F(SortGridTest, CaseSensitiveAndDescendingFlags) {
    Load({{"1", "b"}, {"2", "B"}, {"3", "a"}, {"4", "A"}});
    Sort_Grid(app_, grid_, 1, true, true, false);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"A", "B", "a", "b"}));
    Sort_Grid(app_, grid_, 1, false, false, false);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"B", "b", "A", "a"})); // stable descending
    Load({{"5", ""}, {"30", ""}, {"-2", ""}});
    Sort_Grid(app_, grid_, 0, false, false, true);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"30", "5", "-2"}));
}

TEST_F(SortGridTest, FixedRowsStayWhereTheyAre) {
    // Headers that would sort last by title, and that don't convert by ID: a fixed row that
    // took part in the sort would move or fail.
    for (const bool numeric : {false, true}) {
        Load({{"ID", "zz header"}, {"30", "c"}, {"10", "a"}, {"20", "b"}});
        grid_.SetFixedRows(1);
        Sort_Grid(app_, grid_, numeric ? 0 : 1, false, true, numeric);
        EXPECT_EQ(Rows(), (Table{{"ID", "zz header"}, {"10", "a"}, {"20", "b"}, {"30", "c"}}))
            << numeric;
        Sort_Grid(app_, grid_, numeric ? 0 : 1, false, false, numeric);
        EXPECT_EQ(Rows(), (Table{{"ID", "zz header"}, {"30", "c"}, {"20", "b"}, {"10", "a"}}))
            << numeric;
        grid_.SetFixedRows(0);
    }
    // Two fixed rows of three: nothing left to sort.
    Load({{"b", "b"}, {"a", "a"}, {"0", "0"}});
    grid_.SetFixedRows(2);
    Sort_Grid(app_, grid_, 1, false, true, false);
    EXPECT_EQ(Rows(), (Table{{"b", "b"}, {"a", "a"}, {"0", "0"}}));
    EXPECT_TRUE(world_.boxes.Shown().empty());
}

TEST_F(SortGridTest, ColumnOutsideTheGridShowsTheMessageAndChangesNothing) {
    const Table rows = {{"3", "c"}, {"1", "a"}, {"2", "b"}};
    for (int column : {-1, 3}) {
        Load(rows);
        world_.boxes.Clear();
        Sort_Grid(app_, grid_, column, false, true, true);
        EXPECT_EQ(Rows(), rows);
        ASSERT_EQ(world_.boxes.Shown().size(), 1u);
        EXPECT_EQ(world_.boxes.Shown()[0],
                  (platform::sim::ShownBox{platform::BoxKind::Information,
                                           "Error: The Sort Column (" + std::to_string(column) +
                                               ") must be >= Fixed Cols (0) and <= ColCount (2) !",
                                           "Information"}));
    }
    // A fixed column moves the lower limit.
    Load(rows);
    world_.boxes.Clear();
    grid_.SetFixedCols(1);
    Sort_Grid(app_, grid_, 0, false, true, false);
    ASSERT_EQ(world_.boxes.Shown().size(), 1u);
    EXPECT_EQ(world_.boxes.Shown()[0].text,
              "Error: The Sort Column (0) must be >= Fixed Cols (1) and <= ColCount (2) !");
}

TEST_F(SortGridTest, ColumnEqualToColCountPassesAndMovesNothing) {
    const Table rows = {{"3", "c"}, {"1", "a"}, {"2", "b"}};
    Load(rows);
    Sort_Grid(app_, grid_, 2, false, true, true);
    EXPECT_EQ(Rows(), rows);
    EXPECT_TRUE(world_.boxes.Shown().empty());
}

TEST_F(SortGridTest, UnconvertibleCellStopsTheSortWhereItIs) {
    Load({{"30", "a"}, {"20", "b"}, {"-", "c"}, {"10", "d"}});
    try {
        SortById();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'-' is not a valid integer value");
    }
    // The first pair was swapped before the failing comparison.
    EXPECT_EQ(Rows(), (Table{{"20", "b"}, {"30", "a"}, {"-", "c"}, {"10", "d"}}));
}

TEST_F(SortGridTest, ProcessesMessagesOnlyAfterPassesPastAThousandComparisons) {
    struct Case {
        int rows;
        std::size_t calls;
    };
    // Sorted tables: one pass of rows - 1 comparisons.
    for (const Case c : {Case{1, 0}, Case{1001, 0}, Case{1002, 1}, Case{3000, 1}}) {
        Table t;
        for (int i = 0; i < c.rows; ++i) {
            t.push_back({std::to_string(i), "x"});
        }
        Load(t);
        const std::size_t before = world_.loop.ProcessMessagesCalls();
        SortById();
        EXPECT_EQ(world_.loop.ProcessMessagesCalls() - before, c.calls) << c.rows;
        EXPECT_EQ(Rows(), t);
    }
}

// The production sort against the literal one: same rows, same errors, same partial state,
// same moments of message processing, for every combination of the flags, with and without a
// fixed row.
TEST_F(SortGridTest, MatchesTheLiteralSortOnRandomTables) {
    std::mt19937 rng(2024);
    const std::vector<std::string> ids = {
        "1", "999", "1000", "65552", "2147483647", "2147483648", "4294967295",
        "0", "-5",  "-",    "12a3",  "x",          "99999999999"};
    const std::string letters = "aAbBzZ \xE9\xC9_";
    for (int round = 0; round < 800; ++round) {
        const bool numeric = round % 2 == 0;
        const bool case_sensitive = (round / 2) % 2 == 1;
        const bool ascending = (round / 4) % 2 == 0;
        const int fixed_rows = (round / 8) % 2;
        const bool allow_bad = (round / 16) % 2 == 0;
        // Every fifth block of 32 rounds (all flag combinations) has tables long enough for
        // several rounds of message processing.
        const int n = std::uniform_int_distribution<int>(0, (round / 32) % 5 == 0 ? 150 : 60)(rng);
        Table t;
        for (int i = 0; i < n; ++i) {
            std::string id;
            if (allow_bad || rng() % 3 != 0) {
                id = ids[std::uniform_int_distribution<std::size_t>(0, allow_bad ? ids.size() - 1
                                                                                 : 8)(rng)];
            } else {
                id = std::to_string(rng() % 5000000000ULL);
            }
            std::string title(std::uniform_int_distribution<int>(0, 4)(rng), ' ');
            for (char& ch : title) {
                ch =
                    letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(rng)];
            }
            t.push_back({id, title});
        }
        if (n == 0) {
            t.push_back({"", ""}); // a grid always has a row
        }
        Table expected = t;
        std::size_t expected_calls = 0;
        std::string expected_error;
        try {
            literal::sort_grid(
                expected, numeric ? 0 : 1, case_sensitive, ascending, numeric,
                [&] { ++expected_calls; }, fixed_rows);
        } catch (const Error& e) {
            expected_error = e.what();
        }
        Load(t);
        grid_.SetFixedRows(fixed_rows);
        const std::size_t before = world_.loop.ProcessMessagesCalls();
        std::string error;
        try {
            Sort_Grid(app_, grid_, numeric ? 0 : 1, case_sensitive, ascending, numeric);
        } catch (const Error& e) {
            error = e.what();
        }
        EXPECT_EQ(error, expected_error) << round;
        EXPECT_EQ(Rows(), expected) << round;
        EXPECT_EQ(world_.loop.ProcessMessagesCalls() - before, expected_calls) << round;
    }
}

TEST(CompareCells, MatchesTheLiteralComparisonOnLongTextsWithCommonBeginnings) {
    // Long shared beginnings are skipped 8 bytes at a time: differences at every position of
    // the first and later words, in case only or in the byte, and one text a prefix of the other.
    std::mt19937 rng(99);
    const std::string alphabet = "aAbB \xE9\xC9z[";
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (int i = 0; i < 20000; ++i) {
        std::string a(std::uniform_int_distribution<std::size_t>(0, 30)(rng), ' ');
        for (char& c : a) {
            c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
        }
        std::string b = a;
        const int edit = std::uniform_int_distribution<int>(0, 3)(rng);
        if (!b.empty() && edit < 3) {
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, b.size() - 1)(rng);
            if (edit == 0) {
                b[at] = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() -
                                                                                   1)(rng)];
            } else if (edit == 1) {
                b.resize(at); // a prefix
            } else if (b[at] >= 'a' && b[at] <= 'z') {
                b[at] = static_cast<char>(b[at] - 32); // case only
            }
        }
        for (const bool case_sensitive : {false, true}) {
            const std::string x = case_sensitive ? a : literal::upper_a_to_z(a);
            const std::string y = case_sensitive ? b : literal::upper_a_to_z(b);
            EXPECT_EQ(sign(compare_cells(a, b, case_sensitive)), sign(x.compare(y)))
                << a << " / " << b << " " << case_sensitive;
            EXPECT_EQ(sign(compare_cells(b, a, case_sensitive)), sign(y.compare(x)))
                << a << " / " << b << " " << case_sensitive;
        }
    }
}

TEST(CompareCells, FoldsAToZOnly) {
    EXPECT_EQ(compare_cells("abc", "ABC", false), 0);
    EXPECT_GT(compare_cells("abc", "ABC", true), 0);
    EXPECT_GT(compare_cells("\xE9", "\xC9", false), 0);
    EXPECT_LT(compare_cells("alpha", "Zeta", false), 0);
    EXPECT_GT(compare_cells("\xC9t\xE9", "Zeta", false), 0);
    EXPECT_LT(compare_cells("Z", "[", false), 0);
    EXPECT_LT(compare_cells("z", "[", false), 0); // z folds to Z, below [
    EXPECT_GT(compare_cells("z", "[", true), 0);
}

} // namespace
} // namespace quillop
