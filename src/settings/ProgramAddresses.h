#pragma once

// Web addresses the program knows of. We have no site of our own yet: they lie under a
// documentation domain until we do.
inline constexpr char kHomePageUrl[] = "https://kemurin.example.jp/";
// Stored without a scheme, as option.ini keeps the blog address.
inline constexpr char kDefaultBlogUrl[] = "kemurin.example.jp/";
// The page of the edition for groups.
inline constexpr char kPromotionPageUrl[] = "https://kemurin.example.jp/minkemu/";
