#pragma once

// The maker's web addresses.
namespace weblinks {

inline constexpr const char *kVersionFile = "https://quorlin.example/version.txt";
inline constexpr const char *kWhatsNew = "https://quorlin.example/whatsnew.html";
inline constexpr const char *kDownload = "https://quorlin.example/download.html";
inline constexpr const char *kContact = "https://quorlin.example/contact.html";
inline constexpr const char *kForum = "https://quorlin.example/forum/";
inline constexpr const char *kHome = "https://quorlin.example/";

}  // namespace weblinks
