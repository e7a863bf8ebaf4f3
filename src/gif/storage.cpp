// The control's stored form property "Data": a 32-bit signed little-endian byte count n
// followed by the n bytes of the GIF exactly as loaded.
#include "gif/picture.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quillop::gif {

void TGIFPicture::ReadData(TStream& Stream) {
    // The stream being decoded is not to be replaced under the decoder.
    if (FDecoding) {
        return;
    }
    FDataStream.Clear();
    uint8_t CountBytes[4] = {};
    if (Stream.Read(CountBytes, 4) != 4) {
        return;
    }
    const int32_t Count = static_cast<int32_t>(
        static_cast<uint32_t>(CountBytes[0]) | static_cast<uint32_t>(CountBytes[1]) << 8 |
        static_cast<uint32_t>(CountBytes[2]) << 16 | static_cast<uint32_t>(CountBytes[3]) << 24);
    if (Count <= 0) {
        return;
    }
    // A count larger than what follows copies what there is, never more.
    const int64_t Available = std::max<int64_t>(Stream.Size() - Stream.Position(), 0);
    const int64_t Wanted = std::min<int64_t>(Count, Available);
    if (Wanted == 0) {
        return;
    }
    std::vector<uint8_t> Bytes(static_cast<size_t>(Wanted));
    const int64_t Got = Stream.Read(Bytes.data(), Wanted);
    FDataStream.Assign(Bytes.data(), static_cast<size_t>(std::max<int64_t>(Got, 0)));
}

void TGIFPicture::WriteData(TMemoryStream& Stream) const {
    const auto Count = static_cast<uint32_t>(FDataStream.Size());
    const uint8_t CountBytes[4] = {static_cast<uint8_t>(Count), static_cast<uint8_t>(Count >> 8),
                                   static_cast<uint8_t>(Count >> 16),
                                   static_cast<uint8_t>(Count >> 24)};
    Stream.Write(CountBytes, 4);
    Stream.Write(FDataStream.Data(), static_cast<size_t>(FDataStream.Size()));
}

void TGIFPicture::Loaded() {
    if (FDataStream.Size() > 0) {
        LoadFromStream(FDataStream);
    }
}

} // namespace quillop::gif
