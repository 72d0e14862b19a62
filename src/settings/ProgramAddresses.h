#pragma once

#include <QString>

// Web addresses the program knows of. We have no site of our own yet: they lie under a
// documentation domain until we do.
inline constexpr char kHomePageUrl[] = "https://kemurin.example.jp/";
// Stored without a scheme, as option.ini keeps the blog address.
inline constexpr char kDefaultBlogUrl[] = "kemurin.example.jp/";
// The page of the edition for groups.
inline constexpr char kPromotionPageUrl[] = "https://kemurin.example.jp/minkemu/";

// The address the blog button opens. The settings window shows "http://" in front of the
// stored address, but a user may paste a whole one: its own scheme is kept.
inline QString blogAddressToOpen(const QString& stored) {
    for (const QLatin1String scheme : {QLatin1String("http://"), QLatin1String("https://")}) {
        if (stored.startsWith(scheme, Qt::CaseInsensitive))
            return stored;
    }
    return QStringLiteral("http://") + stored;
}
