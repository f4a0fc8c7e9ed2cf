#include "base/JpegDecoder.h"

#include "base/WholeFile.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// Pictures of ours are small; anything larger is a broken or hostile file.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
constexpr JDIMENSION MaxSide = 8192;
constexpr int MaxScans = 256;  // progressive files with endless scans take endless time

// libjpeg's default error handler ends the process; ours returns to the decode call instead.
struct ErrorTrap {
    jpeg_error_mgr manager{};
    jpeg_progress_mgr progress{};
    std::jmp_buf resume{};
};

[[noreturn]] void leaveDecode(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->resume, 1);
}

// A warning means corrupt data that libjpeg would paper over (grey blocks, a made-up end):
// such a picture is broken, not shown half.
void onMessage(j_common_ptr info, int level) {
    if (level < 0) {
        leaveDecode(info);
    }
}

void onProgress(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxScans) {
        leaveDecode(info);
    }
}

// Holds no object with a destructor: a libjpeg error jumps straight out of it.
bool decodeInto(jpeg_decompress_struct& info, const QByteArray& bytes, DecodedPicture& picture) {
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
        info.jpeg_color_space != JCS_RGB) {
        return false;
    }
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > MaxSide ||
        info.image_height > MaxSide) {
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        return false;
    }
    const qsizetype rowBytes = qsizetype(info.output_width) * 3;
    picture.rgb.resize(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row =
            reinterpret_cast<JSAMPROW>(picture.rgb.data() + rowBytes * info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    picture.width = int(info.output_width);
    picture.height = int(info.output_height);
    return true;
}

}  // namespace

DecodedPicture decodeJpeg(const QByteArray& bytes) {
    DecodedPicture picture;
    jpeg_decompress_struct info{};
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = leaveDecode;
    trap.manager.emit_message = onMessage;
    trap.progress.progress_monitor = onProgress;

    if (setjmp(trap.resume) != 0) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    jpeg_create_decompress(&info);
    info.progress = &trap.progress;
    const bool decoded = decodeInto(info, bytes, picture);
    jpeg_destroy_decompress(&info);
    return decoded ? picture : DecodedPicture{};
}

DecodedPicture decodeJpegFile(const QString& path) {
    const FileRead file = readFileWhole(path, MaxFileBytes);
    return file.read() ? decodeJpeg(file.bytes) : DecodedPicture{};
}
