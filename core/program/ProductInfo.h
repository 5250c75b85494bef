#pragma once

#include <QString>

// Facts about the product that several windows show.
namespace ProductInfo {

// The product's web address: the mail footer names it and the web menu item opens it.
inline QString webAddress() {
    return QStringLiteral("https://tacknote.example.org/");
}

} // namespace ProductInfo
