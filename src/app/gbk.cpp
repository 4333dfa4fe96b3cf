#include "app/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace tarvik {

namespace {

// Every two-byte GBK character and its Unicode form, from the C library's converter.
struct GbkTables {
  std::array<char16_t, 65536> pair_to_unicode{};  // 0: no character
  std::array<std::uint16_t, 65536> unicode_to_pair{};

  GbkTables() {
    iconv_t to_unicode = iconv_open("UTF-16LE", "GBK");
    if (to_unicode == reinterpret_cast<iconv_t>(-1)) return;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        unsigned char out[4];
        char* in_p = in;
        char* out_p = reinterpret_cast<char*>(out);
        std::size_t in_left = 2, out_left = sizeof out;
        iconv(to_unicode, nullptr, nullptr, nullptr, nullptr);
        if (iconv(to_unicode, &in_p, &in_left, &out_p, &out_left) == static_cast<std::size_t>(-1)) continue;
        if (in_left != 0 || sizeof out - out_left != 2) continue;
        const auto c = static_cast<char16_t>(out[0] | out[1] << 8);
        const auto pair = static_cast<std::uint16_t>(lead << 8 | trail);
        pair_to_unicode[pair] = c;
        if (unicode_to_pair[c] == 0) unicode_to_pair[c] = pair;
      }
    }
    iconv_close(to_unicode);
  }
};

const GbkTables& tables() {
  static const auto instance = std::make_unique<GbkTables>();
  return *instance;
}

void append_utf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void append_gbk(ByteArray& out, char16_t c) {
  if (c == u'\n') {
    out += "\r\n";
  } else if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (const std::uint16_t pair = tables().unicode_to_pair[c]) {
    out += static_cast<char>(pair >> 8);
    out += static_cast<char>(pair & 0xFF);
  } else if (c < 0xDC00 || c > 0xDFFF) {  // a surrogate pair is written once, for its first half
    out += UNENCODABLE;
  }
}

}  // namespace

DecodedChar decode_gbk_char(std::string_view bytes) {
  const auto first = static_cast<unsigned char>(bytes[0]);
  if (first == '\r') return {u'\n', bytes.size() > 1 && bytes[1] == '\n' ? 2u : 1u};
  if (first == 0) return {SHOWN_FOR_NUL, 1};
  if (first < 0x80) return {first, 1};
  if (bytes.size() > 1) {
    const auto pair = static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
    if (const char16_t c = tables().pair_to_unicode[pair]) return {c, 2};
  }
  return {SHOWN_FOR_INVALID_BYTE, 1};
}

std::u16string gbk_to_unicode(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size();) {
    const DecodedChar c = decode_gbk_char(bytes.substr(i));
    text += c.shown;
    i += c.length;
  }
  return text;
}

ByteArray unicode_to_gbk(std::u16string_view text) {
  ByteArray bytes;
  for (char16_t c : text) append_gbk(bytes, c);
  return bytes;
}

std::string gbk_to_file_name(std::string_view name) {
  std::string path;
  for (std::size_t i = 0; i < name.size();) {
    const DecodedChar c = decode_gbk_char(name.substr(i));
    if (c.length == 2)
      append_utf8(path, c.shown);
    else
      path += name.substr(i, c.length);
    i += c.length;
  }
  return path;
}

void EditorText::load(ByteArray bytes) {
  original_ = std::move(bytes);
  shown_.clear();
  origins_.clear();
  for (std::size_t i = 0; i < original_.size();) {
    const DecodedChar c = decode_gbk_char(std::string_view(original_).substr(i));
    shown_ += c.shown;
    origins_.push_back({i, c.length});
    i += c.length;
  }
}

void EditorText::update(std::u16string_view now, std::size_t position) {
  const std::size_t common = std::min(shown_.size(), now.size());
  std::size_t prefix = 0;
  while (prefix < std::min(common, position) && shown_[prefix] == now[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < common - prefix && shown_[shown_.size() - 1 - suffix] == now[now.size() - 1 - suffix]) ++suffix;

  const auto first = origins_.begin() + static_cast<std::ptrdiff_t>(prefix);
  const auto last = origins_.end() - static_cast<std::ptrdiff_t>(suffix);
  origins_.insert(origins_.erase(first, last), now.size() - suffix - prefix, Origin{TYPED, 0});
  shown_ = now;
}

ByteArray EditorText::bytes() const {
  ByteArray bytes;
  bytes.reserve(original_.size());
  for (std::size_t i = 0; i < origins_.size(); ++i) {
    if (origins_[i].offset == TYPED)
      append_gbk(bytes, shown_[i]);
    else
      bytes.append(original_, origins_[i].offset, origins_[i].length);
  }
  return bytes;
}

}  // namespace tarvik
