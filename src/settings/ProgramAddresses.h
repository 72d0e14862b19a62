#pragma once

// Web addresses the program knows of, stored without a scheme as option.ini keeps them.
// We have no site of our own yet: the default blog address lies under a documentation domain.
inline constexpr char kDefaultBlogUrl[] = "kemurin.example.jp/";
