// SPDX-License-Identifier: MIT
#include "ZipWriter.h"

#include <minizip/zip.h>
#include <zlib.h>

namespace {

// Raw deflate, as zip stores it, for entries whose headers tell another size.
QByteArray rawDeflate(const QByteArray &data)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

} // namespace

bool writeZip(const QByteArray &path, const std::vector<ZipEntry> &entries)
{
    zipFile archive = zipOpen64(path.constData(), APPEND_STATUS_CREATE);
    if (!archive)
        return false;
    bool ok = true;
    for (const ZipEntry &entry : entries) {
        zip_fileinfo info{};
        info.external_fa = uLong(entry.mode) << 16;
        const bool raw = entry.declaredSize.has_value();
        const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(entry.data.constData()), uInt(entry.data.size()));
        const int method = entry.deflate ? Z_DEFLATED : 0;
        ok = ok
            && zipOpenNewFileInZip4_64(archive, entry.name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                       Z_DEFAULT_COMPRESSION, raw ? 1 : 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY,
                                       nullptr, crc,
                                       3 << 8 /* made on Unix */, entry.utf8Flag ? (1 << 11) : 0, 0)
                == ZIP_OK;
        const QByteArray payload = raw && entry.deflate ? rawDeflate(entry.data) : entry.data;
        ok = ok && zipWriteInFileInZip(archive, payload.constData(), unsigned(payload.size())) == ZIP_OK;
        ok = ok && (raw ? zipCloseFileInZipRaw64(archive, *entry.declaredSize, crc) : zipCloseFileInZip(archive)) == ZIP_OK;
    }
    return zipClose(archive, nullptr) == ZIP_OK && ok;
}
