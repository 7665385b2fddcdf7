#include "platform/multibyte.h"

#include <iconv.h>

namespace {

// "CP936" rather than "GBK": the same table Windows reads with, its few
// additions (the euro sign at 0x80) included.
class GbkConverter {
public:
    GbkConverter() : cd_(iconv_open("WCHAR_T", "CP936")) {}
    ~GbkConverter() {
        if (Open()) iconv_close(cd_);
    }
    GbkConverter(const GbkConverter&) = delete;
    GbkConverter& operator=(const GbkConverter&) = delete;
    bool Open() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return cd_; }

private:
    iconv_t cd_;
};

}  // namespace

int32_t GbkToWide(const char* bytes, int32_t length, wchar_t* out, int32_t capacity) {
    if (length < 0 || capacity < 0) return -1;
    GbkConverter converter;
    if (!converter.Open()) return -1;
    char* in = const_cast<char*>(bytes);  // iconv's signature; the bytes are only read
    size_t in_left = static_cast<size_t>(length);
    char* to = reinterpret_cast<char*>(out);
    size_t out_left = static_cast<size_t>(capacity) * sizeof(wchar_t);
    // An incomplete last character (EINVAL) leaves in_left above zero: no result either.
    if (iconv(converter.Handle(), &in, &in_left, &to, &out_left) == static_cast<size_t>(-1) ||
        in_left != 0) {
        return -1;
    }
    return capacity - static_cast<int32_t>(out_left / sizeof(wchar_t));
}
