// SPDX-License-Identifier: MIT
#include "NameText.h"

#include "UniqueHandle.h"

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

#include <langinfo.h>

#include <optional>
#include <vector>

namespace FileSystem {

namespace {

// Enough text for the detector to be sure; more only costs time.
constexpr qsizetype detectionSample = 256 * 1024;

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// Opening a converter costs more than decoding a name: each thread keeps the
// few it used last.
UConverter *converterFor(const char *charset)
{
    thread_local std::vector<std::pair<QByteArray, UniqueHandle<UConverter, ucnv_close>>> open;
    for (auto &[name, handle] : open) {
        if (name == charset) {
            ucnv_reset(handle.get());
            return handle.get();
        }
    }
    UErrorCode status = U_ZERO_ERROR;
    UniqueHandle<UConverter, ucnv_close> handle(ucnv_open(charset, &status));
    if (U_FAILURE(status) || !handle)
        return nullptr;
    ucnv_setToUCallBack(handle.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (open.size() >= 4)
        open.erase(open.begin());
    open.emplace_back(charset, std::move(handle));
    return open.back().second.get();
}

// The text of `bytes` in `charset`, when every byte sequence maps and no
// control character comes out (a sign of the wrong charset); line breaks are
// allowed with `lines`.
std::optional<QString> decodeCleanly(QByteArrayView bytes, const char *charset, bool lines = false)
{
    UConverter *converter = converterFor(charset);
    if (!converter)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    QString text(2 * bytes.size() + 1, Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar *>(text.data()), int32_t(text.size()),
                                         bytes.data(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING)
        return std::nullopt;
    text.truncate(length);
    for (const QChar c : std::as_const(text)) {
        if (isControl(c.unicode()) && !(lines && c == QLatin1Char('\n')))
            return std::nullopt;
    }
    return text;
}

bool isUnicodeCharset(const char *name)
{
    return qstrncmp(name, "UTF-", 4) == 0;
}

// The length of the valid UTF-8 sequence at `at`; 0 when there is none.
qsizetype utf8Length(QByteArrayView bytes, qsizetype at)
{
    const auto lead = uchar(bytes[at]);
    const qsizetype length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || at + length > bytes.size())
        return 0;
    return isValidUtf8(bytes.sliced(at, length)) ? length : 0;
}

} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    // Without decoding: this runs for every name.
    const auto *at = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = at + bytes.size();
    while (at < end) {
        const uchar lead = *at++;
        if (lead < 0x80)
            continue;
        int more = 0;
        char32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (end - at < more)
            return false;
        for (int i = 0; i < more; ++i) {
            if ((at[i] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (at[i] & 0x3F);
        }
        at += more;
        // Overlong forms, surrogates, and past the last code point.
        if ((more == 2 && code < 0x800) || (more == 3 && code < 0x10000) || code > 0x10FFFF
            || (code >= 0xD800 && code <= 0xDFFF))
            return false;
    }
    return true;
}

bool isShownAsIs(QByteArrayView name)
{
    return isValidUtf8(name) && !name.contains('\r') && !name.contains('\n');
}

NameText nameText(QByteArrayView name, const QByteArray &charset)
{
    if (isShownAsIs(name))
        return {QString::fromUtf8(name), true};
    if (isValidUtf8(name)) {
        QString text = QString::fromUtf8(name);
        text.remove(QLatin1Char('\r'));
        text.remove(QLatin1Char('\n'));
        return {std::move(text), false};
    }
    if (!charset.isEmpty()) {
        if (std::optional<QString> text = decodeCleanly(name, charset.constData()))
            return {std::move(*text), false};
    }
    // The locale's charset, unless it is UTF-8, which has failed already.
    const char *local = nl_langinfo(CODESET);
    if (local && *local && !isUnicodeCharset(local) && qstrcmp(local, "UTF8") != 0) {
        if (std::optional<QString> text = decodeCleanly(name, local))
            return {std::move(*text), false};
    }
    return {escapedName(name), false};
}

QString escapedName(QByteArrayView name)
{
    const auto escape = [](QString &text, QByteArrayView bytes) {
        static constexpr char digits[] = "0123456789ABCDEF";
        for (const char byte : bytes) {
            text += QLatin1String("\\x");
            text += QLatin1Char(digits[uchar(byte) >> 4]);
            text += QLatin1Char(digits[uchar(byte) & 0xF]);
        }
    };
    QString text;
    text.reserve(name.size() * 2);
    for (qsizetype at = 0; at < name.size();) {
        const qsizetype length = std::max<qsizetype>(utf8Length(name, at), 1);
        const QByteArrayView piece = name.sliced(at, length);
        const QString decoded = utf8Length(name, at) > 0 ? QString::fromUtf8(piece) : QString();
        if (decoded.isEmpty() || decoded == QLatin1String("\\") || (decoded.size() == 1 && isControl(decoded.front().unicode())))
            escape(text, piece);
        else
            text += decoded;
        at += length;
    }
    return text;
}

bool NameCharsetDetector::add(QByteArrayView name)
{
    if (isValidUtf8(name))
        return true;
    // Each name once: a folder's, repeated in every path below it, would outweigh the rest.
    for (const QByteArray &part : name.toByteArray().split('/')) {
        if (m_names.size() >= detectionSample || part.isEmpty() || isValidUtf8(part) || m_seen.contains(part))
            continue;
        m_seen.insert(part);
        if (!m_names.isEmpty())
            m_names += '\n';
        m_names += part;
    }
    return false;
}

QByteArray NameCharsetDetector::charset() const
{
    if (m_names.isEmpty())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    const UniqueHandle<UCharsetDetector, ucsdet_close> detector(ucsdet_open(&status));
    if (U_FAILURE(status) || !detector)
        return {};
    ucsdet_setText(detector.get(), m_names.constData(), int32_t(m_names.size()), &status);
    int32_t count = 0;
    const UCharsetMatch **matches = ucsdet_detectAll(detector.get(), &count, &status);
    if (U_FAILURE(status))
        return {};
    // Best first; a guess that fails on any name is wrong for all of them.
    for (int32_t i = 0; i < count; ++i) {
        const char *name = ucsdet_getName(matches[i], &status);
        if (U_FAILURE(status))
            return {};
        if (!isUnicodeCharset(name) && decodeCleanly(m_names, name, true))
            return name;
    }
    return {};
}

} // namespace FileSystem
