// SPDX-License-Identifier: GPL-2.0-or-later
#include "jpeg_file.h"

// Local
#include "pelmora_error.h"
#include "picture_memory.h"
#include "picture_file_texts.h"
#include "reader_limits.h"

// Std
#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// libjpeg (after <cstdio>, which it needs)
#include <jerror.h>
#include <jpeglib.h>

namespace pelmora {

namespace {

// Progressive files past this many scans are built to take forever.
constexpr int kMostScans = 1000;

// An empty scan takes a few bytes yet libjpeg visits every block of it. A
// real file pays at least a bit for each block in each of its DC scans and
// sends about ten scans, so even a flat picture asks for under 64 blocks
// decoded per byte; small files may always have as many as a thousand
// scans of a 1024 x 1024 picture.
constexpr std::int64_t kBlocksPerByte = 64;
constexpr std::int64_t kLeastBlocks = std::int64_t(1) << 24;

// libjpeg reports errors by calling error_exit, which must not return; this
// one jumps back to the codec's guarded call instead of ending the process.
struct ErrorManager {
    jpeg_error_mgr base {};
    std::jmp_buf jump {};
    int code = 0;
};

[[noreturn]] void errorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->code = info->err->msg_code;
    std::longjmp(manager->jump, 1);
}

// Warnings (a damaged stream, a missing end marker) are not fatal: libjpeg
// goes on with what it has, and nothing is printed.
void ignoreMessage(j_common_ptr, int) {}
void ignoreOutput(j_common_ptr) {}

void installErrorManager(j_common_ptr info, ErrorManager& manager) {
    info->err = jpeg_std_error(&manager.base);
    manager.base.error_exit = errorExit;
    manager.base.emit_message = ignoreMessage;
    manager.base.output_message = ignoreOutput;
}

long memoryBudget() {
    return long(pictureMemoryCap());
}

// Charged at the start of each scan, before libjpeg decodes it: every
// block of the scan's components.
struct ScanCharge {
    jpeg_progress_mgr base {};   // first, so that libjpeg's pointer is this one's
    WorkBudget* blocks = nullptr;
    int chargedScan = 0;
};

void chargeScan(j_common_ptr info) {
    auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
    auto* charge = reinterpret_cast<ScanCharge*>(decoder->progress);
    if (decoder->input_scan_number == charge->chargedScan)
        return;
    charge->chargedScan = decoder->input_scan_number;
    std::int64_t blocks = 0;
    for (int i = 0; i < decoder->comps_in_scan; ++i)
        blocks += std::int64_t(decoder->cur_comp_info[i]->width_in_blocks) * decoder->cur_comp_info[i]->height_in_blocks;
    if (decoder->input_scan_number > kMostScans || !charge->blocks->charge(blocks)) {
        info->err->msg_code = JERR_BAD_PROGRESSION;
        info->err->error_exit(info);
    }
}

// Adobe writes CMYK inverted; plain CMYK stores ink amounts.
void cmykToRgb(const uchar* cmyk, uchar* rgb, int width, bool inverted) {
    for (int x = 0; x < width; ++x) {
        int c = cmyk[4 * x];
        int m = cmyk[4 * x + 1];
        int y = cmyk[4 * x + 2];
        int k = cmyk[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        rgb[3 * x] = uchar((c * k + 127) / 255);
        rgb[3 * x + 1] = uchar((m * k + 127) / 255);
        rgb[3 * x + 2] = uchar((y * k + 127) / 255);
    }
}

// Feeds libjpeg the file a piece at a time: it reads only as far as the
// picture goes, whatever follows in the file.
struct PieceSource {
    jpeg_source_mgr base {};   // first, so that libjpeg's pointer is this one's
    const ByteSource* source = nullptr;
    std::int64_t offset = 0;
    std::array<JOCTET, 64 << 10> buffer {};
};

boolean fillPiece(j_decompress_ptr info) {
    auto* piece = reinterpret_cast<PieceSource*>(info->src);
    const std::int64_t got = piece->source->readUpTo(piece->offset, piece->buffer.data(), piece->buffer.size());
    if (got <= 0) {
        if (piece->offset == 0)
            ERREXIT(info, JERR_INPUT_EMPTY);
        // A file cut short ends as if its end marker followed, as libjpeg's
        // own sources do.
        WARNMS(info, JWRN_JPEG_EOF);
        piece->buffer[0] = 0xFF;
        piece->buffer[1] = JPEG_EOI;
        piece->base.next_input_byte = piece->buffer.data();
        piece->base.bytes_in_buffer = 2;
        return TRUE;
    }
    piece->offset += got;
    piece->base.next_input_byte = piece->buffer.data();
    piece->base.bytes_in_buffer = size_t(got);
    return TRUE;
}

void skipPiece(j_decompress_ptr info, long count) {
    auto* piece = reinterpret_cast<PieceSource*>(info->src);
    if (count <= 0)
        return;
    if (size_t(count) <= piece->base.bytes_in_buffer) {
        piece->base.next_input_byte += count;
        piece->base.bytes_in_buffer -= size_t(count);
        return;
    }
    piece->offset += count - std::int64_t(piece->base.bytes_in_buffer);
    piece->base.bytes_in_buffer = 0;
}

void noOp(j_decompress_ptr) {}

class Decoder {
public:
    Decoder(const ByteSource& bytes, WorkBudget& blocks) : bytes_(bytes) {
        installErrorManager(reinterpret_cast<j_common_ptr>(&info_), errors_);
        scans_.base.progress_monitor = chargeScan;
        scans_.blocks = &blocks;
    }
    ~Decoder() { jpeg_destroy_decompress(&info_); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    QImage run() {
        if (setjmp(errors_.jump) != 0)
            throw PelmoraError(texts::jpegError(errors_.code));
        jpeg_create_decompress(&info_);
        info_.progress = &scans_.base;
        info_.mem->max_memory_to_use = memoryBudget();
        piece_.source = &bytes_;
        piece_.base.init_source = noOp;
        piece_.base.fill_input_buffer = fillPiece;
        piece_.base.skip_input_data = skipPiece;
        piece_.base.resync_to_restart = jpeg_resync_to_restart;
        piece_.base.term_source = noOp;
        info_.src = &piece_.base;
        jpeg_read_header(&info_, TRUE);
        if (!declaredSizeFitsData(info_.image_width, info_.image_height, bytes_.size()) || !blocksFitData())
            throw PelmoraError(texts::jpegError(JERR_IMAGE_TOO_BIG));
        info_.scale_num = 1;
        info_.scale_denom = 1;
        info_.do_fancy_upsampling = TRUE;
        info_.dct_method = JDCT_ISLOW;
        const bool cmyk = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
        const bool grey = info_.jpeg_color_space == JCS_GRAYSCALE;
        // Colour goes straight into 32-bit rows; libjpeg-turbo sets the
        // fourth byte to 0xFF.
        info_.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
        jpeg_start_decompress(&info_);

        const int width = int(info_.output_width);
        image_ = allocateImage(width, int(info_.output_height),
                               grey ? QImage::Format_Indexed8 : cmyk ? QImage::Format_RGB888 : QImage::Format_RGB32);
        if (grey) {
            QList<QRgb> levels(256);
            for (int i = 0; i < 256; ++i)
                levels[i] = qRgb(i, i, i);
            image_.setColorTable(levels);
        }
        if (cmyk)
            cmykRow_.resize(qsizetype(width) * 4);
        while (info_.output_scanline < info_.output_height) {
            uchar* line = image_.scanLine(int(info_.output_scanline));
            JSAMPROW row = cmyk ? reinterpret_cast<JSAMPROW>(cmykRow_.data()) : line;
            jpeg_read_scanlines(&info_, &row, 1);
            if (cmyk)
                cmykToRgb(reinterpret_cast<const uchar*>(cmykRow_.constData()), line, width,
                          info_.saw_Adobe_marker);
        }
        jpeg_finish_decompress(&info_);
        return image_;
    }

private:
    // A file of several scans has libjpeg clear a buffer for the whole
    // picture's coefficients before the first scan. Any whole file spends at
    // least a bit on each block, in its first DC scan.
    bool blocksFitData() const {
        if (!jpeg_has_multiple_scans(const_cast<j_decompress_ptr>(&info_)))
            return true;
        std::int64_t blocks = 0;
        for (int i = 0; i < info_.num_components; ++i)
            blocks += std::int64_t(info_.comp_info[i].width_in_blocks) * info_.comp_info[i].height_in_blocks;
        return blocks <= 8 * bytes_.size();
    }

    const ByteSource& bytes_;
    PieceSource piece_;
    jpeg_decompress_struct info_ {};
    ErrorManager errors_;
    ScanCharge scans_;
    QImage image_;
    QByteArray cmykRow_;
};

class Encoder {
public:
    Encoder() { installErrorManager(reinterpret_cast<j_common_ptr>(&info_), errors_); }
    ~Encoder() {
        jpeg_destroy_compress(&info_);
        std::free(buffer_);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // image is RGB32 or RGB888.
    QByteArray run(const QImage& image, int quality) {
        if (setjmp(errors_.jump) != 0)
            throw PelmoraError(texts::jpegError(errors_.code));
        jpeg_create_compress(&info_);
        jpeg_mem_dest(&info_, &buffer_, &size_);
        info_.image_width = JDIMENSION(image.width());
        info_.image_height = JDIMENSION(image.height());
        info_.input_components = image.format() == QImage::Format_RGB888 ? 3 : 4;
        info_.in_color_space = image.format() == QImage::Format_RGB888 ? JCS_RGB : JCS_EXT_BGRX;
        jpeg_set_defaults(&info_);
        jpeg_set_quality(&info_, quality, TRUE);
        jpeg_start_compress(&info_, TRUE);
        while (info_.next_scanline < info_.image_height) {
            JSAMPROW row = const_cast<uchar*>(image.constScanLine(int(info_.next_scanline)));
            jpeg_write_scanlines(&info_, &row, 1);
        }
        jpeg_finish_compress(&info_);
        return QByteArray(reinterpret_cast<const char*>(buffer_), qsizetype(size_));
    }

private:
    jpeg_compress_struct info_ {};
    ErrorManager errors_;
    unsigned char* buffer_ = nullptr;
    unsigned long size_ = 0;
};

} // namespace

std::int64_t jpegBlockBudget(std::int64_t fileBytes) {
    return std::max(kLeastBlocks, kBlocksPerByte * fileBytes);
}

Bitmap readJpeg(const ByteSource& source, WorkBudget& blocks) {
    Decoder decoder(source, blocks);
    return Bitmap(decoder.run(), 24);
}

Bitmap readJpeg(const ByteSource& source) {
    WorkBudget blocks(jpegBlockBudget(source.size()));
    return readJpeg(source, blocks);
}

Bitmap decodeJpeg(const QByteArray& bytes) {
    return readJpeg(MemorySource(bytes));
}

QByteArray encodeJpeg(const Bitmap& picture, int quality) {
    QImage image = picture.image();
    if (image.isNull())
        throw PelmoraError(texts::jpegError(JERR_EMPTY_IMAGE));
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_RGB888) {
        image = image.convertToFormat(QImage::Format_RGB888);
        if (image.isNull())
            throw PelmoraError(outOfMemoryText());
    }
    Encoder encoder;
    return encoder.run(image, quality);
}

} // namespace pelmora
