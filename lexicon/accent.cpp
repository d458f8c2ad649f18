#include "lexicon/accent.h"

#include "corpus/char_classes.h"

namespace tavro {
namespace {

// The accented form of a plain vowel, 0 for any other byte; and back.
struct AccentPairs {
    unsigned char accented[256]{};
    unsigned char plain[256]{};
    constexpr AccentPairs() {
        constexpr unsigned char kPairs[][2] = {{0xE1, 0xDC}, {0xE5, 0xDD}, {0xE7, 0xDE},
                                               {0xE9, 0xDF}, {0xEF, 0xFC}, {0xF5, 0xFD},
                                               {0xF9, 0xFE}, {0xFA, 0xC0}, {0xFB, 0xE0}};
        for (const auto& pair : kPairs) {
            accented[pair[0]] = pair[1];
            plain[pair[1]] = pair[0];
        }
    }
};

constexpr AccentPairs kAccentPairs;

unsigned char ByteAt(std::string_view word, int index) {
    return static_cast<unsigned char>(word[static_cast<std::size_t>(index)]);
}

// One syllable towards the start; a diphthong accented on its second letter takes two moves.
void AccentStep(std::string& word) {
    const int p = FindAccentedVowel(word);
    if (p <= 0) return;  // no accent, or it stands on the first byte
    const int moves = IsDiphthongEndingAt(word, p) ? 2 : 1;
    for (int move = 0; move < moves; ++move) ShiftAccentOnce(word);
}

}  // namespace

int FindAccentedVowel(std::string_view word) {
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (IsAccentedVowel(static_cast<unsigned char>(word[i]))) return static_cast<int>(i);
    }
    return -1;
}

void RemoveAccent(std::string& word) {
    const int p = FindAccentedVowel(word);
    if (p != -1) word[p] = static_cast<char>(kAccentPairs.plain[ByteAt(word, p)]);
}

void PlaceAccent(std::string& word, int index) {
    if (index < 0 || index >= static_cast<int>(word.size())) return;
    const unsigned char accented = kAccentPairs.accented[ByteAt(word, index)];
    if (accented != 0) word[index] = static_cast<char>(accented);
}

int VowelGroups(std::string_view word) {
    int groups = 0;
    bool inVowels = false;
    for (const char c : word) {
        const bool vowel = IsVowel(static_cast<unsigned char>(c));
        if (vowel && !inVowels) ++groups;
        inVowels = vowel;
    }
    return groups;
}

int LastVowelBefore(std::string_view word, int p) {
    for (int i = p - 1; i >= 0; --i) {
        if (IsVowel(ByteAt(word, i))) return i;
    }
    return p <= 0 ? p - 1 : -1;
}

bool IsDiphthongEndingAt(std::string_view word, int p) {
    if (p < 1 || p >= static_cast<int>(word.size())) return false;
    const unsigned char first = ByteAt(word, p - 1);
    const unsigned char second = ByteAt(word, p);
    const bool firstFits = first == 0xE1 || first == 0xEF || first == 0xE5;
    const bool secondFits = second == 0xE9 || second == 0xF5 || second == 0xDF || second == 0xFD;
    return firstFits && secondFits;
}

void ShiftAccentOnce(std::string& word) {
    const int p = FindAccentedVowel(word);
    RemoveAccent(word);
    PlaceAccent(word, LastVowelBefore(word, p));
}

void ShiftAccent(std::string& word, int steps) {
    if (steps != 1 && steps != 2) return;
    for (int step = 0; step < steps; ++step) AccentStep(word);
}

}  // namespace tavro
