// Moving the tonos of a lower-case cp1253 word towards its start, one syllable at a
// time; the diphthongs αι, οι, ει, αυ, ου, ευ (accented on their second letter)
// count as one syllable. Only the first accented vowel of a word is ever moved.
#pragma once

#include <string>
#include <string_view>

namespace tavro {

// Index of the first accented vowel, or -1.
int FindAccentedVowel(std::string_view word);

// Replaces the first accented vowel by its plain form.
void RemoveAccent(std::string& word);

// Accents the plain vowel at `index`; any other byte, or an index out of range, is left.
void PlaceAccent(std::string& word, int index);

// How many runs of vowels `word` holds (a diphthong, or any vowels side by
// side, count once): its syllables, near enough for telling one from several.
int VowelGroups(std::string_view word);

// Index of the nearest vowel below `p`, or a negative value when there is none.
int LastVowelBefore(std::string_view word, int p);

// True when word[p-1], word[p] is α, ο or ε followed by ι, υ, ί or ύ.
bool IsDiphthongEndingAt(std::string_view word, int p);

// Moves the accent from its vowel to the nearest vowel before it (or drops it when
// there is none).
void ShiftAccentOnce(std::string& word);

// `steps` syllable steps (only 1 and 2 act; any other number leaves the word).
void ShiftAccent(std::string& word, int steps);

}  // namespace tavro
