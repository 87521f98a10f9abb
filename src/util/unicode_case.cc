#include "util/unicode_case.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "util/utf8.h"

namespace tarn {

namespace {

// Every stride-th code point of [first, last] lower-cases to itself plus delta
// (stride 2 covers the alternating upper/lower pairs of Latin Extended,
// Cyrillic and others). Produced by scripts/gen-lowercase-table.py.
struct LowerRun {
  char32_t first;
  char32_t last;
  int32_t delta;
  uint8_t stride;
};

// Unicode 14.0.0.
constexpr LowerRun kLowerRuns[] = {
    {0x0041, 0x005A, 32, 1},     {0x00C0, 0x00D6, 32, 1},     {0x00D8, 0x00DE, 32, 1},     {0x0100, 0x012E, 1, 2},
    {0x0132, 0x0136, 1, 2},      {0x0139, 0x0147, 1, 2},      {0x014A, 0x0176, 1, 2},      {0x0178, 0x0178, -121, 1},
    {0x0179, 0x017D, 1, 2},      {0x0181, 0x0181, 210, 1},    {0x0182, 0x0184, 1, 2},      {0x0186, 0x0186, 206, 1},
    {0x0187, 0x0187, 1, 1},      {0x0189, 0x018A, 205, 1},    {0x018B, 0x018B, 1, 1},      {0x018E, 0x018E, 79, 1},
    {0x018F, 0x018F, 202, 1},    {0x0190, 0x0190, 203, 1},    {0x0191, 0x0191, 1, 1},      {0x0193, 0x0193, 205, 1},
    {0x0194, 0x0194, 207, 1},    {0x0196, 0x0196, 211, 1},    {0x0197, 0x0197, 209, 1},    {0x0198, 0x0198, 1, 1},
    {0x019C, 0x019C, 211, 1},    {0x019D, 0x019D, 213, 1},    {0x019F, 0x019F, 214, 1},    {0x01A0, 0x01A4, 1, 2},
    {0x01A6, 0x01A6, 218, 1},    {0x01A7, 0x01A7, 1, 1},      {0x01A9, 0x01A9, 218, 1},    {0x01AC, 0x01AC, 1, 1},
    {0x01AE, 0x01AE, 218, 1},    {0x01AF, 0x01AF, 1, 1},      {0x01B1, 0x01B2, 217, 1},    {0x01B3, 0x01B5, 1, 2},
    {0x01B7, 0x01B7, 219, 1},    {0x01B8, 0x01B8, 1, 1},      {0x01BC, 0x01BC, 1, 1},      {0x01C4, 0x01C4, 2, 1},
    {0x01C5, 0x01C5, 1, 1},      {0x01C7, 0x01C7, 2, 1},      {0x01C8, 0x01C8, 1, 1},      {0x01CA, 0x01CA, 2, 1},
    {0x01CB, 0x01DB, 1, 2},      {0x01DE, 0x01EE, 1, 2},      {0x01F1, 0x01F1, 2, 1},      {0x01F2, 0x01F4, 1, 2},
    {0x01F6, 0x01F6, -97, 1},    {0x01F7, 0x01F7, -56, 1},    {0x01F8, 0x021E, 1, 2},      {0x0220, 0x0220, -130, 1},
    {0x0222, 0x0232, 1, 2},      {0x023A, 0x023A, 10795, 1},  {0x023B, 0x023B, 1, 1},      {0x023D, 0x023D, -163, 1},
    {0x023E, 0x023E, 10792, 1},  {0x0241, 0x0241, 1, 1},      {0x0243, 0x0243, -195, 1},   {0x0244, 0x0244, 69, 1},
    {0x0245, 0x0245, 71, 1},     {0x0246, 0x024E, 1, 2},      {0x0370, 0x0372, 1, 2},      {0x0376, 0x0376, 1, 1},
    {0x037F, 0x037F, 116, 1},    {0x0386, 0x0386, 38, 1},     {0x0388, 0x038A, 37, 1},     {0x038C, 0x038C, 64, 1},
    {0x038E, 0x038F, 63, 1},     {0x0391, 0x03A1, 32, 1},     {0x03A3, 0x03AB, 32, 1},     {0x03CF, 0x03CF, 8, 1},
    {0x03D8, 0x03EE, 1, 2},      {0x03F4, 0x03F4, -60, 1},    {0x03F7, 0x03F7, 1, 1},      {0x03F9, 0x03F9, -7, 1},
    {0x03FA, 0x03FA, 1, 1},      {0x03FD, 0x03FF, -130, 1},   {0x0400, 0x040F, 80, 1},     {0x0410, 0x042F, 32, 1},
    {0x0460, 0x0480, 1, 2},      {0x048A, 0x04BE, 1, 2},      {0x04C0, 0x04C0, 15, 1},     {0x04C1, 0x04CD, 1, 2},
    {0x04D0, 0x052E, 1, 2},      {0x0531, 0x0556, 48, 1},     {0x10A0, 0x10C5, 7264, 1},   {0x10C7, 0x10C7, 7264, 1},
    {0x10CD, 0x10CD, 7264, 1},   {0x13A0, 0x13EF, 38864, 1},  {0x13F0, 0x13F5, 8, 1},      {0x1C90, 0x1CBA, -3008, 1},
    {0x1CBD, 0x1CBF, -3008, 1},  {0x1E00, 0x1E94, 1, 2},      {0x1E9E, 0x1E9E, -7615, 1},  {0x1EA0, 0x1EFE, 1, 2},
    {0x1F08, 0x1F0F, -8, 1},     {0x1F18, 0x1F1D, -8, 1},     {0x1F28, 0x1F2F, -8, 1},     {0x1F38, 0x1F3F, -8, 1},
    {0x1F48, 0x1F4D, -8, 1},     {0x1F59, 0x1F5F, -8, 2},     {0x1F68, 0x1F6F, -8, 1},     {0x1F88, 0x1F8F, -8, 1},
    {0x1F98, 0x1F9F, -8, 1},     {0x1FA8, 0x1FAF, -8, 1},     {0x1FB8, 0x1FB9, -8, 1},     {0x1FBA, 0x1FBB, -74, 1},
    {0x1FBC, 0x1FBC, -9, 1},     {0x1FC8, 0x1FCB, -86, 1},    {0x1FCC, 0x1FCC, -9, 1},     {0x1FD8, 0x1FD9, -8, 1},
    {0x1FDA, 0x1FDB, -100, 1},   {0x1FE8, 0x1FE9, -8, 1},     {0x1FEA, 0x1FEB, -112, 1},   {0x1FEC, 0x1FEC, -7, 1},
    {0x1FF8, 0x1FF9, -128, 1},   {0x1FFA, 0x1FFB, -126, 1},   {0x1FFC, 0x1FFC, -9, 1},     {0x2126, 0x2126, -7517, 1},
    {0x212A, 0x212A, -8383, 1},  {0x212B, 0x212B, -8262, 1},  {0x2132, 0x2132, 28, 1},     {0x2160, 0x216F, 16, 1},
    {0x2183, 0x2183, 1, 1},      {0x24B6, 0x24CF, 26, 1},     {0x2C00, 0x2C2F, 48, 1},     {0x2C60, 0x2C60, 1, 1},
    {0x2C62, 0x2C62, -10743, 1}, {0x2C63, 0x2C63, -3814, 1},  {0x2C64, 0x2C64, -10727, 1}, {0x2C67, 0x2C6B, 1, 2},
    {0x2C6D, 0x2C6D, -10780, 1}, {0x2C6E, 0x2C6E, -10749, 1}, {0x2C6F, 0x2C6F, -10783, 1}, {0x2C70, 0x2C70, -10782, 1},
    {0x2C72, 0x2C72, 1, 1},      {0x2C75, 0x2C75, 1, 1},      {0x2C7E, 0x2C7F, -10815, 1}, {0x2C80, 0x2CE2, 1, 2},
    {0x2CEB, 0x2CED, 1, 2},      {0x2CF2, 0x2CF2, 1, 1},      {0xA640, 0xA66C, 1, 2},      {0xA680, 0xA69A, 1, 2},
    {0xA722, 0xA72E, 1, 2},      {0xA732, 0xA76E, 1, 2},      {0xA779, 0xA77B, 1, 2},      {0xA77D, 0xA77D, -35332, 1},
    {0xA77E, 0xA786, 1, 2},      {0xA78B, 0xA78B, 1, 1},      {0xA78D, 0xA78D, -42280, 1}, {0xA790, 0xA792, 1, 2},
    {0xA796, 0xA7A8, 1, 2},      {0xA7AA, 0xA7AA, -42308, 1}, {0xA7AB, 0xA7AB, -42319, 1}, {0xA7AC, 0xA7AC, -42315, 1},
    {0xA7AD, 0xA7AD, -42305, 1}, {0xA7AE, 0xA7AE, -42308, 1}, {0xA7B0, 0xA7B0, -42258, 1}, {0xA7B1, 0xA7B1, -42282, 1},
    {0xA7B2, 0xA7B2, -42261, 1}, {0xA7B3, 0xA7B3, 928, 1},    {0xA7B4, 0xA7C2, 1, 2},      {0xA7C4, 0xA7C4, -48, 1},
    {0xA7C5, 0xA7C5, -42307, 1}, {0xA7C6, 0xA7C6, -35384, 1}, {0xA7C7, 0xA7C9, 1, 2},      {0xA7D0, 0xA7D0, 1, 1},
    {0xA7D6, 0xA7D8, 1, 2},      {0xA7F5, 0xA7F5, 1, 1},      {0xFF21, 0xFF3A, 32, 1},     {0x10400, 0x10427, 40, 1},
    {0x104B0, 0x104D3, 40, 1},   {0x10570, 0x1057A, 39, 1},   {0x1057C, 0x1058A, 39, 1},   {0x1058C, 0x10592, 39, 1},
    {0x10594, 0x10595, 39, 1},   {0x10C80, 0x10CB2, 64, 1},   {0x118A0, 0x118BF, 32, 1},   {0x16E40, 0x16E5F, 32, 1},
    {0x1E900, 0x1E921, 34, 1},
};

const LowerRun* find_run(char32_t cp) {
  const auto it = std::upper_bound(std::begin(kLowerRuns), std::end(kLowerRuns), cp,
                                   [](char32_t c, const LowerRun& run) { return c < run.first; });
  if (it == std::begin(kLowerRuns)) return nullptr;
  const LowerRun& run = *std::prev(it);
  if (cp > run.last || (cp - run.first) % run.stride != 0) return nullptr;
  return &run;
}

constexpr char32_t kCapitalSigma = 0x03A3;
constexpr char32_t kSmallSigma = 0x03C3;
constexpr char32_t kFinalSigma = 0x03C2;

// A letter with a case partner: it lower-cases to something else, or some
// capital lower-cases to it. Caseless-only lower-case letters (IPA and the
// like) are missed, which only matters next to a capital sigma.
bool is_cased(char32_t cp) {
  if (find_run(cp)) return true;
  for (const LowerRun& run : kLowerRuns) {
    const int64_t source = static_cast<int64_t>(cp) - run.delta;
    if (source >= run.first && source <= run.last && (source - run.first) % run.stride == 0) return true;
  }
  return cp == kFinalSigma;
}

// Marks and punctuation that do not break a word for the final-sigma test:
// the combining blocks, modifier letters, apostrophes, dots, soft hyphen and
// zero-width format characters. A subset of Unicode's Case_Ignorable.
bool is_case_ignorable(char32_t cp) {
  static constexpr std::pair<char32_t, char32_t> kRanges[] = {
      {0x0027, 0x0027}, {0x002E, 0x002E}, {0x003A, 0x003A}, {0x005E, 0x005E}, {0x0060, 0x0060},
      {0x00A8, 0x00A8}, {0x00AD, 0x00AD}, {0x00AF, 0x00AF}, {0x00B4, 0x00B4}, {0x00B7, 0x00B8},
      {0x02B0, 0x036F}, {0x0374, 0x0375}, {0x037A, 0x037A}, {0x0384, 0x0385}, {0x0387, 0x0387},
      {0x0483, 0x0489}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F}, {0x2018, 0x2019},
      {0x2024, 0x2024}, {0x2027, 0x2027}, {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
  };
  return std::any_of(std::begin(kRanges), std::end(kRanges),
                     [cp](const auto& range) { return cp >= range.first && cp <= range.second; });
}

// Whether the first code point that is not case-ignorable, walking from
// begin towards end, is cased.
template <class It>
bool cased_after_ignorables(It begin, It end) {
  const auto it = std::find_if_not(begin, end, is_case_ignorable);
  return it != end && is_cased(*it);
}

// The simple (one code point) lower-case mapping.
char32_t lower_code_point(char32_t cp) {
  const LowerRun* run = find_run(cp);
  return run ? static_cast<char32_t>(static_cast<int64_t>(cp) + run->delta) : cp;
}

}  // namespace

std::string to_lower_unicode(std::string_view text) {
  // ASCII text, the common case, needs no decoding: only A-Z change.
  const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii || !is_valid_utf8(text)) {
    std::string out(text);
    for (char& c : out) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
  }
  std::u32string cps;
  for (size_t pos = 0; pos < text.size();) cps.push_back(decode_utf8(text, pos));

  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < cps.size(); ++i) {
    const char32_t cp = cps[i];
    if (cp == 0x0130) {
      out += 'i';
      append_utf8(out, 0x0307);
    } else if (cp == kCapitalSigma) {
      const bool word_final =
          cased_after_ignorables(cps.rbegin() + static_cast<std::ptrdiff_t>(cps.size() - i), cps.rend()) &&
          !cased_after_ignorables(cps.begin() + static_cast<std::ptrdiff_t>(i + 1), cps.end());
      append_utf8(out, word_final ? kFinalSigma : kSmallSigma);
    } else {
      append_utf8(out, lower_code_point(cp));
    }
  }
  return out;
}

}  // namespace tarn
