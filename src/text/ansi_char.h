// What both conversion back ends of ansi.h share: what stands in for a
// character that cannot be converted (AnsiCharLength, in ansi.h, says where
// one ends). Internal to the text layer.
#ifndef H5KAKEI_TEXT_ANSI_CHAR_H_
#define H5KAKEI_TEXT_ANSI_CHAR_H_

namespace h5 {

// WideCharToMultiByte's default character, for text CP932 cannot hold.
constexpr char kAnsiDefaultChar[] = "?";
// MultiByteToWideChar's stand-in for bad CP932 bytes, U+30FB in UTF-8.
constexpr char kUnicodeDefaultChar[] = "\xE3\x83\xBB";

}  // namespace h5

#endif  // H5KAKEI_TEXT_ANSI_CHAR_H_
