#include "app/model/word_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

using app::model::EInOutError;
using app::model::TWordReader;

const std::string kIncomplete = "This file either invalid or incomplete.";
const std::string kReal = "A floating point number was expected but not found.";
const std::string kInteger = "An integer was expected but not found.";

// The message of the EInOutError that `read` throws, or "" when it throws none.
template <typename F>
std::string ErrorOf(F&& read) {
    try {
        read();
    } catch (const EInOutError& e) {
        return e.what();
    }
    return "";
}

std::string LineError(int line, int item, const std::string& what) {
    return std::string("Error on Line ")
        .append(std::to_string(line))
        .append(" Item ")
        .append(std::to_string(item))
        .append("\r")
        .append(what);
}

TEST(WordReaderSplitting, BlankAndTabRunsSeparateWordsAcrossLines) {
    TWordReader r(" 1\t\t2   3 \n\n \t \r\n4\r5\n");
    EXPECT_EQ(r.ReadInteger(), 1);
    EXPECT_EQ(r.ReadInteger(), 2);
    EXPECT_EQ(r.ReadWord(), "3");
    EXPECT_EQ(r.ReadReal(), 4.0L);  // empty and blank lines skipped; CR LF and CR end lines
    EXPECT_FALSE(r.AtEnd());
    EXPECT_EQ(r.ReadInteger(), 5);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(r.LineCount(), 5u);
    EXPECT_EQ(r.LineText(0), " 1\t\t2   3 ");
}

TEST(WordReaderSplitting, CommasSeparateOtherBytesBelongToWords) {
    TWordReader r(std::string("a,b\v;c\0d x,,, y", 15));
    EXPECT_EQ(r.ReadWord(), "a");
    EXPECT_EQ(r.ReadWord(), std::string("b\v;c\0d", 6));
    EXPECT_EQ(r.ReadWord(), "x");
    EXPECT_EQ(r.ReadWord(), "y");  // a run of commas and blanks is one separator
}

TEST(WordReaderRecords, ARecordSkipsTheRestOfItsLastLine) {
    TWordReader r("1, 2 3  ! note 4\n5\n6 7\n8 9\n\n\n10 x\n11");
    r.BeginRecord();  // nothing read yet: stays on line 1
    EXPECT_EQ(r.ReadInteger(), 1);
    EXPECT_EQ(r.ReadInteger(), 2);
    r.BeginRecord();
    EXPECT_EQ(r.ReadInteger(), 5);
    EXPECT_EQ(r.ReadInteger(), 6);  // a record runs on over lines
    r.BeginRecord();
    EXPECT_EQ(r.ReadInteger(), 8);
    r.BeginRecord();
    r.BeginRecord();              // a second call without a word read changes nothing
    EXPECT_EQ(r.ReadLine(), "");  // a title is the line after the record, even an empty one
    r.BeginRecord();
    EXPECT_EQ(r.ReadInteger(), 10);  // empty lines are skipped when words are read
    r.BeginRecord();
    EXPECT_EQ(r.ReadInteger(), 11);
    r.BeginRecord();
    EXPECT_TRUE(r.AtEnd());
}

TEST(WordReaderSplitting, ByteOrderMarkIsDropped) {
    TWordReader r("\xEF\xBB\xBFTitle line\n7");
    EXPECT_EQ(r.ReadLine(), "Title line");
    EXPECT_EQ(r.ReadInteger(), 7);
}

TEST(WordReaderLines, ReadLineTakesTheWholeLineUnderTheCursor) {
    TWordReader r("Title text\n1 2 3\n9 rest of line\nLong-term title\n\n42");
    EXPECT_EQ(r.ReadLine(), "Title text");
    EXPECT_EQ(r.ReadInteger(), 1);
    EXPECT_EQ(r.ReadLine(), "1 2 3");  // words already read are part of the text
    EXPECT_EQ(r.ReadInteger(), 9);
    EXPECT_EQ(r.ReadLine(), "9 rest of line");
    EXPECT_EQ(r.ReadLine(), "Long-term title");
    EXPECT_EQ(r.ReadLine(), "");
    EXPECT_EQ(r.ReadLine(), "42");
    EXPECT_EQ(ErrorOf([&] { r.ReadLine(); }), kIncomplete);
}

TEST(WordReaderLines, LastWordOfALineLeavesTheCursorOnIt) {
    TWordReader r("1 2\n3\n");
    EXPECT_EQ(r.ReadInteger(), 1);
    EXPECT_EQ(r.ReadInteger(), 2);
    EXPECT_EQ(r.ReadLine(), "1 2");
    EXPECT_EQ(r.ReadInteger(), 3);
}

TEST(WordReaderErrors, PrematureEndAfterTheLastWord) {
    TWordReader r("5\n \n");
    EXPECT_EQ(r.ReadInteger(), 5);
    EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }), kIncomplete);
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), kIncomplete);
    EXPECT_EQ(ErrorOf([&] { r.ReadWord(); }), kIncomplete);
    TWordReader empty("");
    EXPECT_EQ(empty.LineCount(), 0u);
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(ErrorOf([&] { empty.ReadLine(); }), kIncomplete);
    EXPECT_EQ(ErrorOf([&] { empty.ReadReal(); }), kIncomplete);
}

TEST(WordReaderErrors, MalformedWordsNameTheirLineAndItem) {
    TWordReader r("1 2\n\n  3\t4 1;5\n7 3.5 x");
    r.ReadInteger();
    r.ReadInteger();
    r.ReadInteger();
    r.ReadInteger();
    EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }), LineError(3, 3, kReal));
    EXPECT_EQ(r.ReadInteger(), 7);  // the bad word was consumed
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), LineError(4, 2, kInteger));
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), LineError(4, 3, kInteger));
}

TEST(WordReaderNumbers, RealForms) {
    struct Case {
        const char* word;
        long double value;
    };
    const Case accepted[] = {
        {"0", 0.0L},
        {"-2.5E-3", -0.0025L},
        {"+3", 3.0L},
        {".5", 0.5L},
        {"5.", 5.0L},
        {"1e+2", 100.0L},
        {"007.50", 7.5L},
        {"1E20", 1e20L},
        {"-0.0", -0.0L},
        {"1e-5000", 0.0L},
        {"0e999999", 0.0L},
        {"12345678901234567890", 12345678901234567890.0L},
        // The engine's forms: D exponents and a three-digit exponent without its letter.
        {"1d3", 1000.0L},
        {"-2.5D-3", -0.0025L},
        {"0.123+105", 0.123e105L},
        {"0.5-101", 0.5e-101L},
    };
    for (const auto& c : accepted) {
        long double v = -99.0L;
        EXPECT_TRUE(TWordReader::ParseReal(c.word, v)) << c.word;
        EXPECT_EQ(v, c.value) << c.word;
    }
    long double tiny = 1.0L;
    ASSERT_TRUE(TWordReader::ParseReal("-1e-99999999999999999999", tiny));
    EXPECT_EQ(tiny, 0.0L);
    long double longZero = 1.0L;
    ASSERT_TRUE(TWordReader::ParseReal(std::string("0.").append(6000, '0').append("1"), longZero));
    EXPECT_EQ(longZero, 0.0L);
    long double longInteger = 0.0L;
    EXPECT_FALSE(TWordReader::ParseReal(std::string("1").append(4933, '0'), longInteger));
    ASSERT_TRUE(TWordReader::ParseReal(std::string("1").append(4900, '0'), longInteger));
    EXPECT_EQ(longInteger, 1e4900L);
    long double big = 0.0L;
    ASSERT_TRUE(TWordReader::ParseReal("1.1e4932", big));
    EXPECT_TRUE(std::isfinite(big));

    const char* refused[] = {
        "",    "-",    "+",   ".",    "e5",  "1e",    "1e+",    "1.2.3",
        "1;5", "1dd3", "inf", "-INF", "nan", "0x10",  "1e4933", "-2e99999999999999999999",
        "1 ",  "--1",  "1-",  "$1F",  "1e-", "1E+-2", "+-1",    ".+5"};
    for (const char* word : refused) {
        long double v = 0.0L;
        EXPECT_FALSE(TWordReader::ParseReal(word, v)) << '"' << word << '"';
    }
}

TEST(WordReaderNumbers, IntegersAtTheLimits) {
    TWordReader r("2147483647 -2147483648 1e3 3.0 -0 2147483648 -2147483649 2.5 1e10");
    EXPECT_EQ(r.ReadInteger(), INT32_MAX);
    EXPECT_EQ(r.ReadInteger(), INT32_MIN);
    EXPECT_EQ(r.ReadInteger(), 1000);
    EXPECT_EQ(r.ReadInteger(), 3);
    EXPECT_EQ(r.ReadInteger(), 0);
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), LineError(1, 6, kInteger));
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), LineError(1, 7, kInteger));
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), LineError(1, 8, kInteger));
    EXPECT_EQ(ErrorOf([&] { r.ReadInteger(); }), LineError(1, 9, kInteger));
}

TEST(WordReaderNumbers, ExtendedPrecisionIsKept) {
    TWordReader r("0.1 1.18e4932");
    EXPECT_EQ(r.ReadReal(), 0.1L);  // not the double nearest to 0.1
    EXPECT_EQ(r.ReadReal(), 1.18e4932L);
}

TEST(WordReaderFiles, ReadsAFileAndRefusesAMissingOne) {
    const auto path = std::filesystem::temp_directory_path() / "word_reader_test_input.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "Title\r\n1 2.5\r\n";
    }
    auto r = TWordReader::FromFile(path);
    std::filesystem::remove(path);
    EXPECT_EQ(r.ReadLine(), "Title");
    EXPECT_EQ(r.ReadInteger(), 1);
    EXPECT_EQ(r.ReadReal(), 2.5L);
    EXPECT_TRUE(r.AtEnd());

    EXPECT_THROW((void)TWordReader::FromFile(path), EInOutError);
}

TEST(WordReaderRobustness, RandomInputsOnlyEverRaiseInputErrors) {
    std::mt19937 rng(20150502);
    const std::string alphabet = " \t\r\n0123456789.+-eEx,";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(rng() % 60);
        for (int k = 0; k < length; ++k) {
            text.push_back(rng() % 4 == 0 ? static_cast<char>(rng() % 256)
                                          : alphabet[rng() % alphabet.size()]);
        }
        TWordReader r(text);
        for (int step = 0; step < 12; ++step) {
            try {
                switch (rng() % 4) {
                    case 0: {
                        const long double v = r.ReadReal();
                        EXPECT_TRUE(std::isfinite(v)) << text;
                        break;
                    }
                    case 1:
                        (void)r.ReadInteger();
                        break;
                    case 2:
                        (void)r.ReadLine();
                        break;
                    default:
                        (void)r.ReadWord();
                        break;
                }
            } catch (const EInOutError& e) {
                const std::string message = e.what();
                EXPECT_TRUE(message == kIncomplete || message.starts_with("Error on Line ")) << message;
            }
        }
    }
}

// Files far larger than the program writes are refused by their size, before any is read.
TEST(WordReaderFiles, HugeAndMissingFilesAreRefusedWithTheirName) {
    const auto folder = std::filesystem::temp_directory_path() / "word_reader_huge";
    std::filesystem::create_directories(folder);
    const auto huge = folder / "huge.dn5p";
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, app::model::kMaxInputFileBytes + 1);
    EXPECT_EQ(ErrorOf([&] { (void)app::model::ReadInputFile(huge); }),
              huge.string() +
                  " holds 16 MB, far more than any file of this program (at most 16 MB); it was not read");
    EXPECT_EQ(ErrorOf([&] { (void)app::model::ReadInputFile(folder); }),
              folder.string() + " is not a regular file (a folder, a device or a pipe) and cannot be read");
    EXPECT_EQ(ErrorOf([&] { (void)app::model::ReadInputFile(folder / "absent.dn5d"); }),
              "Cannot open file " + (folder / "absent.dn5d").string());
    std::filesystem::remove_all(folder);
}

}  // namespace
