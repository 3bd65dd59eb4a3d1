#include "publish/listingclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

ListingClipboard::ListingClipboard(QClipboard* clipboard)
    : m_clipboard(clipboard ? clipboard : QGuiApplication::clipboard()) {}

void ListingClipboard::copy(const QString& code) {
    m_clipboard->setText(code);
    m_ownCode = code;
    m_copied = true;
}

bool ListingClipboard::holdsOwnCode() const {
    return m_copied && m_clipboard->text() == m_ownCode;
}

void ListingClipboard::clearOwnCode() {
    if (holdsOwnCode())
        m_clipboard->clear();
    m_copied = false;
    m_ownCode.clear();
}
