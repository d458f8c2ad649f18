// The report of a file in encoding E is byte for byte the report of the same file
// converted to code page 1253 first, for E = UTF-8 (with and without a byte-order
// mark, composed or decomposed), ISO-8859-7 and cp1253 itself, whether E is
// detected or named, on every corpus the repository has, on generated text and
// on random bytes.
//
// "Converted first" is iconv's conversion, with the one rule iconv lacks made
// explicit: each character cp1253 cannot hold becomes a space (text is put in
// Normalization Form C before, and each malformed sequence is U+FFFD, as ICU
// decodes it; see encoding_reference.h).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "document/tavro_doc.h"
#include "platform/cp1253.h"
#include "tests/encoding_reference.h"
#include "tests/test_platform.h"

namespace tavro {
namespace {

using testing::IconvFromUtf8;
using testing::IconvToUtf8;
using testing::ReferenceCp1253;
using testing::TestPlatform;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::filesystem::path> paths;
    for (const char* folder : {"data/corpus", "data/sources/prose"}) {
        for (const auto& entry : std::filesystem::directory_iterator(
                 std::filesystem::path(TAVRO_SOURCE_DIR) / folder)) {
            if (entry.path().extension() == ".txt") paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> files;
    for (const auto& path : paths) {
        if (path.filename() != "README.md") files.push_back(ReadFile(path));
    }
    return files;
}

class EncodingPropertyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_lexicon = ReadFile(std::filesystem::path(TAVRO_SOURCE_DIR) / "data/finalList.txt");
        m_conjugation = ReadFile(std::filesystem::path(TAVRO_SOURCE_DIR) / "data/conjugation.txt");
        ASSERT_FALSE(m_lexicon.empty());
    }

    struct Run {
        std::string report;
        std::vector<FileWarning> warnings;
    };

    Run Report(const std::vector<std::string>& files, EncodingChoice encoding, bool allWords,
               int threads = 3) {
        TestPlatform platform;
        platform.files.Add("finalList.txt", m_lexicon);
        platform.files.Add("conjugation.txt", m_conjugation);
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < files.size(); ++i) {
            paths.push_back("in" + std::to_string(i) + ".txt");
            platform.files.Add(paths.back(), files[i]);
        }
        CTavroDoc doc(platform);
        doc.SetThreadCount(threads);
        doc.SetInputEncoding(encoding);
        EXPECT_TRUE(doc.LoadData().ok());
        if (allWords) doc.OnViewShowAllWords();
        EXPECT_TRUE(doc.OpenInputFiles(paths).ok());
        return {std::string(doc.ReportText()), doc.RunWarnings()};
    }

    // Both reports of `files` read as `encoding` are those of `reference` read
    // as cp1253.
    void ExpectSameReports(const std::vector<std::string>& files, EncodingChoice encoding,
                           const std::vector<std::string>& reference, const char* what) {
        for (const bool allWords : {false, true}) {
            const Run expected = Report(reference, EncodingChoice::kCp1253, allWords);
            EXPECT_GT(expected.report.size(), 1u) << what;
            const Run run = Report(files, encoding, allWords);
            EXPECT_TRUE(run.report == expected.report) << what << ", all words " << allWords;
        }
    }

    std::string m_lexicon;
    std::string m_conjugation;
};

std::vector<std::string> Each(const std::vector<std::string>& files,
                              std::string (*convert)(const std::string&)) {
    std::vector<std::string> converted;
    for (const std::string& file : files) converted.push_back(convert(file));
    return converted;
}

std::string ToUtf8(const std::string& cp1253) { return IconvToUtf8(cp1253, "CP1253"); }
std::string WithBom(const std::string& utf8) { return "\xEF\xBB\xBF" + utf8; }
std::string Nfd(const std::string& utf8) { return testing::NfdUtf8(utf8); }
std::string Nfc(const std::string& utf8) { return testing::NfcUtf8(utf8); }
std::string ToCp1253(const std::string& utf8) { return IconvFromUtf8(utf8, "CP1253"); }
std::string ToIso(const std::string& utf8) { return IconvFromUtf8(utf8, "ISO-8859-7"); }
std::string IsoToCp1253(const std::string& iso) {
    return IconvFromUtf8(IconvToUtf8(iso, "ISO-8859-7"), "CP1253");
}
std::string Utf8ToCp1253Reference(const std::string& utf8) {
    return ReferenceCp1253(utf8, "UTF-8");
}

// The bundled data files are cp1253 and are read byte for byte, as they always
// were; converted to UTF-8 or ISO-8859-7 they give the same lexicon and table.
TEST_F(EncodingPropertyTest, BundledDataFilesInEveryEncoding) {
    for (const std::string* file : {&m_lexicon, &m_conjugation}) {
        const DecodedText read = DecodeText(*file);
        EXPECT_EQ(read.encoding, TextEncoding::kCp1253);
        EXPECT_TRUE(read.text == *file);
        const std::string utf8 = ToUtf8(*file);
        EXPECT_TRUE(DecodeText(utf8).text == *file);
        EXPECT_TRUE(DecodeText(WithBom(utf8)).text == *file);
        EXPECT_TRUE(DecodeText(Nfd(utf8)).text == *file);
        // (Without Ά, ISO-8859-7 reads as cp1253 does: either is right then.)
        EXPECT_TRUE(DecodeText(ToIso(utf8)).text == *file);
    }
}

TEST_F(EncodingPropertyTest, EveryCorpusInEveryEncoding) {
    const std::vector<std::string> cp1253 = CorpusFiles();
    ASSERT_GE(cp1253.size(), 11u);
    const std::vector<std::string> utf8 = Each(cp1253, ToUtf8);
    // The conversion is exact: the corpora hold only characters cp1253 has.
    EXPECT_EQ(Each(utf8, Utf8ToCp1253Reference), cp1253);
    const std::vector<std::string> iso = Each(utf8, ToIso);
    const std::vector<std::string> isoReference = Each(iso, IsoToCp1253);

    ExpectSameReports(cp1253, EncodingChoice::kAuto, cp1253, "cp1253, detected");
    ExpectSameReports(utf8, EncodingChoice::kAuto, cp1253, "UTF-8, detected");
    ExpectSameReports(utf8, EncodingChoice::kUtf8, cp1253, "UTF-8, named");
    ExpectSameReports(Each(utf8, WithBom), EncodingChoice::kAuto, cp1253, "UTF-8 with a BOM");
    ExpectSameReports(Each(utf8, Nfd), EncodingChoice::kAuto, cp1253, "UTF-8, decomposed");
    ExpectSameReports(iso, EncodingChoice::kAuto, isoReference, "ISO-8859-7, detected");
    ExpectSameReports(iso, EncodingChoice::kIso8859_7, isoReference, "ISO-8859-7, named");
    EXPECT_TRUE(Report(utf8, EncodingChoice::kAuto, true).warnings.empty());
}

// Greek text of every kind a person writes: capitals, accents and diaereses,
// cp1253's punctuation, digits and Latin words, and characters cp1253 lacks
// (Cyrillic, CJK, emoji, polytonic letters, combining marks, zero-width ones),
// with CR LF and NUL lines among the lines.
std::string GeneratedText(std::mt19937& random, std::size_t characters) {
    static const std::vector<std::string> letters = {"α",       "β",
                                                     "γ",       "δ",
                                                     "ε",       "ζ",
                                                     "η",       "θ",
                                                     "ι",       "κ",
                                                     "λ",       "μ",
                                                     "ν",       "ξ",
                                                     "ο",       "π",
                                                     "ρ",       "σ",
                                                     "τ",       "υ",
                                                     "φ",       "χ",
                                                     "ψ",       "ω",
                                                     "ς",       "ά",
                                                     "έ",       "ή",
                                                     "ί",       "ό",
                                                     "ύ",       "ώ",
                                                     "ϊ",       "ϋ",
                                                     "ΐ",       "ΰ",
                                                     "Α",       "Ά",
                                                     "Έ",       "Ή",
                                                     "Ί",       "Ό",
                                                     "Ύ",       "Ώ",
                                                     "Ϊ",       "Ϋ",
                                                     "Σ",       "Ω",
                                                     "a",       "Z",
                                                     "7",       "_",
                                                     "ἀ",       "ῆ",
                                                     "ὸ",       "ά",
                                                     "ж",       "é",
                                                     "α\u0301", "ι\u0308\u0301",
                                                     "Α\u0301", "ε\u0301\u0323",
                                                     "υ\u0308"};
    static const std::vector<std::string> separators = {
        " ", " ",      " ",  ", ", ". ",     "\n",     "\r\n",   "“",    "”",
        "«", "»",      "–",  "…",  "\u00A0", "\u200B", "😀",      "日本", "\uFEFF",
        "·", "\u037E", "; ", "’",  "‘",      " ΄ ",    " \u0301"};
    std::string text;
    while (text.size() < characters) {
        const unsigned pick = random() % 100;
        if (pick == 0) text += std::string(1, '\0') + "κρυμμένες λέξεις";
        const int length = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k) text += letters[random() % letters.size()];
        text += separators[random() % separators.size()];
    }
    return text;
}

TEST_F(EncodingPropertyTest, GeneratedTextInEveryEncoding) {
    std::mt19937 random(1253);
    std::vector<std::string> utf8;
    for (const std::size_t size : {1u, 300u, 20000u, 200000u}) {
        utf8.push_back(GeneratedText(random, size));
    }
    const std::vector<std::string> reference = Each(utf8, Utf8ToCp1253Reference);
    ExpectSameReports(utf8, EncodingChoice::kAuto, reference, "generated UTF-8, detected");
    ExpectSameReports(utf8, EncodingChoice::kUtf8, reference, "generated UTF-8, named");
    ExpectSameReports(Each(utf8, Nfd), EncodingChoice::kUtf8, reference, "generated, decomposed");
    ExpectSameReports(Each(utf8, WithBom), EncodingChoice::kAuto, reference, "generated, BOM");
    const std::vector<std::string> iso = Each(Each(utf8, Nfc), ToIso);
    ExpectSameReports(iso, EncodingChoice::kIso8859_7, Each(iso, IsoToCp1253),
                      "generated ISO-8859-7");
    const std::vector<std::string> cp1253 = Each(Each(utf8, Nfc), ToCp1253);
    ExpectSameReports(cp1253, EncodingChoice::kAuto, cp1253, "generated cp1253, detected");
}

TEST_F(EncodingPropertyTest, RandomBytes) {
    std::mt19937 random(99);
    std::vector<std::string> files;
    for (int k = 0; k < 20; ++k) {
        std::string bytes(static_cast<std::size_t>(random() % 5000), '\0');
        for (char& b : bytes) {
            // Mostly letters and spaces, so that words are long enough to matter.
            const unsigned pick = random() % 4;
            b = static_cast<char>(pick == 0   ? ' '
                                  : pick == 1 ? 0xC0 + random() % 64
                                              : random() % 256);
        }
        files.push_back(std::move(bytes));
    }
    std::vector<std::string> utf8Reference, isoReference;
    for (const std::string& bytes : files) {
        utf8Reference.push_back(ReferenceCp1253(bytes, "UTF-8"));
        // ICU has no character for AE, D2 and FF; it writes U+FFFD, and so a space.
        isoReference.push_back(ReferenceCp1253(bytes, "ISO-8859-7"));
    }
    for (const bool allWords : {false, true}) {
        const Run utf8 = Report(files, EncodingChoice::kUtf8, allWords);
        EXPECT_TRUE(utf8.report == Report(utf8Reference, EncodingChoice::kCp1253, allWords).report);
        EXPECT_FALSE(utf8.warnings.empty());
        const Run iso = Report(files, EncodingChoice::kIso8859_7, allWords);
        EXPECT_TRUE(iso.report == Report(isoReference, EncodingChoice::kCp1253, allWords).report);
        EXPECT_TRUE(Report(files, EncodingChoice::kCp1253, allWords).warnings.empty());
    }
}

// A line longer than a read block is cut after an ASCII separator, never inside
// a character; with no ASCII separator at all the block grows.
TEST_F(EncodingPropertyTest, LinesLongerThanAReadBlock) {
    std::string spaced, unspaced;
    std::mt19937 random(3);
    const std::vector<std::string> words = {"λόγος", "Άλλος", "σπίτι", "ΐ", "αρχείο", "ώρα"};
    while (spaced.size() < 9'000'000) {
        const std::string& word = words[random() % words.size()];
        spaced += word + (random() % 10 == 0 ? "\u00A0" : " ");
    }
    while (unspaced.size() < 5'000'000) unspaced += words[random() % words.size()] + "\u00A0";
    const std::vector<std::string> utf8 = {spaced, unspaced};
    ExpectSameReports(utf8, EncodingChoice::kUtf8, Each(utf8, Utf8ToCp1253Reference), "long lines");
}

}  // namespace
}  // namespace tavro
