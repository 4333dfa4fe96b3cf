// GBK at the window's edge: the compiler's texts are GBK bytes, widgets hold Unicode and
// file names on disk are UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/state.h"

namespace tarvik {

// How bytes that are no GBK character show in the editor.
inline constexpr char16_t SHOWN_FOR_INVALID_BYTE = u'\uFFFD';
inline constexpr char16_t SHOWN_FOR_NUL = u'\u2400';
// Written for a character that GBK cannot hold.
inline constexpr char UNENCODABLE = '?';

// One character of a GBK text: what it shows as, and how many bytes it came from.
struct DecodedChar {
  char16_t shown;
  std::size_t length;
};
// Decodes the character at the start of `bytes` (which must not be empty). Every line end
// (CR LF, a lone CR, a lone LF) shows as '\n'.
DecodedChar decode_gbk_char(std::string_view bytes);

// A GBK text shown as Unicode, for display only (the log, captions).
std::u16string gbk_to_unicode(std::string_view bytes);
// A Unicode text as GBK; '\n' becomes CR LF.
ByteArray unicode_to_gbk(std::u16string_view text);
// A GBK file name as the file system names it (UTF-8); bytes that are no GBK stay as they are.
std::string gbk_to_file_name(std::string_view name);

// The editor's text: every character remembers the bytes of the file it came from, so
// the bytes that a person did not edit are written back exactly as they were read.
class EditorText {
 public:
  void load(ByteArray bytes);
  const std::u16string& shown() const { return shown_; }
  // The text after an edit that started at `position` (a hint: any value gives a correct
  // result, the right one keeps the origin of repeated characters exact).
  void update(std::u16string_view now, std::size_t position);
  ByteArray bytes() const;

 private:
  static constexpr std::size_t TYPED = static_cast<std::size_t>(-1);
  struct Origin {
    std::size_t offset;  // into original_, or TYPED
    std::size_t length;
  };
  ByteArray original_;
  std::u16string shown_;
  std::vector<Origin> origins_;  // one per character of shown_
};

}  // namespace tarvik
