// The production image-data decoder against the reference reading on random inputs: random
// code streams (clears, end codes, codes past the table, widths following the decoder),
// random re-chunking, truncation and byte damage, random sizes and interlacing.
#include "gif/picture.h"
#include "helpers.h"

#include <gtest/gtest.h>

#include <random>

namespace quillop::gif::test {
namespace {

// A random code stream whose widths follow the decoder's schedule: each code after the
// first one following a clear makes a table entry until the table is full.
std::vector<Code> RandomCodes(std::mt19937& Rng, int MinCodeSize, int Count) {
    const int Clear = 1 << MinCodeSize, End = Clear + 1;
    std::vector<Code> Out;
    int Next = Clear + 2, Width = MinCodeSize + 1;
    bool First = true;
    auto Emit = [&](int V) {
        Out.push_back({V, Width});
        if (V == Clear) {
            Next = Clear + 2;
            Width = MinCodeSize + 1;
            First = true;
            return;
        }
        if (First) {
            First = false;
            return;
        }
        if (Next < 4096) {
            ++Next;
            if (Next >= (1 << Width) && Width < 12) {
                ++Width;
            }
        }
    };
    if (Rng() % 8 != 0) {
        Emit(Clear);
    }
    for (int I = 0; I < Count; ++I) {
        const unsigned R = Rng() % 1000;
        int V;
        if (R < 4) {
            V = Clear;
        } else if (R < 6) {
            V = End;
        } else if (R < 40) {
            V = Next; // the repeat case
        } else if (R < 50) {
            V = Next + 1 + static_cast<int>(Rng() % 4); // past the table
        } else if (R < 60) {
            V = static_cast<int>(Rng() % (1u << Width)); // anything
        } else if (R < 500 && Next > Clear + 2) {
            V = Clear + 2 + static_cast<int>(Rng() % static_cast<unsigned>(Next - Clear - 2));
        } else {
            V = static_cast<int>(Rng() % static_cast<unsigned>(Clear));
        }
        V &= (1 << Width) - 1;
        Emit(V);
        if (V == End && Rng() % 2) {
            break;
        }
    }
    if (Rng() % 2) {
        Emit(End);
    }
    return Out;
}

Bytes RandomChunks(std::mt19937& Rng, const Bytes& Data) {
    switch (Rng() % 4) {
    case 0:
        return SubBlocks(Data, 255);
    case 1:
        return SubBlocks(Data, 1 + Rng() % 4);
    default: {
        std::vector<size_t> Sizes;
        for (int I = 0; I < 8; ++I) {
            Sizes.push_back(1 + Rng() % 255);
        }
        return SubBlocksOfSizes(Data, Sizes);
    }
    }
}

void Compare(const Bytes& In, int W, int H, bool Interlaced, bool Transparent, uint8_t Index,
             bool Progress, const std::string& What) {
    const ReferenceImage A =
        DecodeProduction(In, 0, W, H, Interlaced, Transparent, Index, Progress);
    const ReferenceImage B = DecodeReference(In, 0, W, H, Interlaced, Transparent, Index, Progress);
    ASSERT_EQ(A.Accepted, B.Accepted) << What;
    ASSERT_EQ(A.Pixels, B.Pixels) << What;
    ASSERT_EQ(A.Mask, B.Mask) << What;
    ASSERT_EQ(A.EndPosition, B.EndPosition) << What;
    ASSERT_EQ(A.ProgressRows, B.ProgressRows) << What;
    ASSERT_EQ(A.ProgressPositions, B.ProgressPositions) << What;
}

TEST(Differential, RandomCodeStreams) {
    std::mt19937 Rng(20261210);
    for (int Case = 0; Case < 4000; ++Case) {
        const int MinCodeSize = static_cast<int>(Rng() % 16); // 0 ... 15
        const int W = 1 + static_cast<int>(Rng() % 40);
        const int H = 1 + static_cast<int>(Rng() % 40);
        const int Count = static_cast<int>(Rng() % (Rng() % 4 == 0 ? 6000 : 400));
        Bytes In{static_cast<uint8_t>(MinCodeSize)};
        const Bytes Blocks = RandomChunks(Rng, PackCodes(RandomCodes(Rng, MinCodeSize, Count)));
        In.insert(In.end(), Blocks.begin(), Blocks.end());
        In.push_back(0x3B);
        if (Rng() % 5 == 0) {
            In.resize(Rng() % (In.size() + 1)); // truncated anywhere
        }
        const bool Interlaced = Rng() % 2;
        const bool Transparent = Rng() % 2;
        const auto Index = static_cast<uint8_t>(Rng() % 4);
        Compare(In, W, H, Interlaced, Transparent, Index, false, "case " + std::to_string(Case));
    }
}

TEST(Differential, EncodedImagesWithDamage) {
    std::mt19937 Rng(4242);
    for (int Case = 0; Case < 600; ++Case) {
        const int MinCodeSize = 2 + static_cast<int>(Rng() % 7);
        const int Colors = 1 << MinCodeSize;
        const int W = 1 + static_cast<int>(Rng() % 90);
        const int H = 1 + static_cast<int>(Rng() % 60);
        Bytes Pixels(static_cast<size_t>(W * H));
        const unsigned Run = 1 + Rng() % 8;
        for (size_t I = 0; I < Pixels.size(); ++I) {
            Pixels[I] =
                (I % Run == 0 || I == 0) ? static_cast<uint8_t>(Rng() % Colors) : Pixels[I - 1];
        }
        Bytes Data = PackCodes(EncodeLZW(Pixels, MinCodeSize, Rng() % 2));
        const unsigned Damage = Rng() % 4;
        for (unsigned D = 0; D < Damage && !Data.empty(); ++D) {
            Data[Rng() % Data.size()] ^= static_cast<uint8_t>(1u << (Rng() % 8));
        }
        Bytes In{static_cast<uint8_t>(MinCodeSize)};
        const Bytes Blocks = RandomChunks(Rng, Data);
        In.insert(In.end(), Blocks.begin(), Blocks.end());
        if (Rng() % 4 == 0) {
            In.resize(1 + Rng() % In.size());
        }
        const bool Interlaced = Rng() % 2;
        const bool Transparent = Rng() % 2;
        Compare(In, W, H, Interlaced, Transparent, static_cast<uint8_t>(Rng() % Colors), false,
                "case " + std::to_string(Case));
    }
}

TEST(Differential, LargeImagesWithProgressPositions) {
    std::mt19937 Rng(99);
    const int Sizes[][2] = {{400, 300}, {321, 320}, {320, 321}, {500, 201}, {700, 150}};
    for (const auto& S : Sizes) {
        for (int Variant = 0; Variant < 4; ++Variant) {
            const int W = S[0], H = S[1];
            Bytes Pixels(static_cast<size_t>(W * H));
            for (size_t I = 0; I < Pixels.size(); ++I) {
                Pixels[I] = static_cast<uint8_t>((Rng() % 3 == 0) ? Rng() % 16 : (I / 7) % 16);
            }
            Bytes Data = PackCodes(EncodeLZW(Pixels, 4, Variant % 2));
            if (Variant >= 2) {
                Data.resize(Data.size() * 2 / 3); // ends early
            }
            Bytes In{4};
            const Bytes Blocks = RandomChunks(Rng, Data);
            In.insert(In.end(), Blocks.begin(), Blocks.end());
            Compare(In, W, H, Variant % 2 == 1, true, 3, true,
                    std::to_string(W) + "x" + std::to_string(H) + " v" + std::to_string(Variant));
        }
    }
}

TEST(Differential, RandomBytesAsImageData) {
    std::mt19937 Rng(5);
    for (int Case = 0; Case < 3000; ++Case) {
        Bytes In(static_cast<size_t>(Rng() % 300));
        for (auto& B : In) {
            B = static_cast<uint8_t>(Rng());
        }
        if (!In.empty() && Rng() % 2) {
            In[0] = static_cast<uint8_t>(Rng() % 17);
        }
        Compare(In, 1 + static_cast<int>(Rng() % 30), 1 + static_cast<int>(Rng() % 30), Rng() % 2,
                Rng() % 2, static_cast<uint8_t>(Rng()), false, "case " + std::to_string(Case));
    }
}

// Whole files through the control: several frames with random data, compared frame by frame
// with the reference reading of each frame's data.
TEST(Differential, MultiFrameFilesThroughTheControl) {
    std::mt19937 Rng(777);
    for (int Case = 0; Case < 300; ++Case) {
        GIFRecipe R;
        R.Header().Screen(static_cast<uint16_t>(1 + Rng() % 30),
                          static_cast<uint16_t>(1 + Rng() % 30), GreyPalette(256), 8);
        struct Frame {
            int W, H;
            bool Interlaced, Transparent;
            uint8_t Index;
            size_t DataStart;
        };
        std::vector<Frame> Frames;
        const int Count = 1 + static_cast<int>(Rng() % 5);
        for (int K = 0; K < Count; ++K) {
            Frame F{1 + static_cast<int>(Rng() % 25),
                    1 + static_cast<int>(Rng() % 25),
                    Rng() % 2 == 0,
                    Rng() % 2 == 0,
                    static_cast<uint8_t>(Rng() % 4),
                    0};
            if (F.Transparent) {
                R.GraphicControl(static_cast<int>(Rng() % 4), true, F.Index);
            }
            R.ImageDescriptor(static_cast<uint16_t>(Rng() % 10), static_cast<uint16_t>(Rng() % 10),
                              static_cast<uint16_t>(F.W), static_cast<uint16_t>(F.H),
                              F.Interlaced ? 0x40 : 0);
            F.DataStart = R.Size();
            const int MinCodeSize = static_cast<int>(Rng() % 17); // 16: refused
            R.Byte(static_cast<uint8_t>(MinCodeSize));
            R.Raw(RandomChunks(
                Rng, PackCodes(RandomCodes(Rng, MinCodeSize, static_cast<int>(Rng() % 500)))));
            Frames.push_back(F);
        }
        R.Trailer();
        Bytes File = R.Build();
        if (Rng() % 4 == 0) {
            File.resize(Frames[0].DataStart + Rng() % (File.size() - Frames[0].DataStart));
        }
        // What the reference says: frames up to the first refused one.
        std::vector<ReferenceImage> Want;
        for (const Frame& F : Frames) {
            if (F.DataStart > File.size()) {
                break;
            }
            ReferenceImage Img = DecodeReference(File, F.DataStart, F.W, F.H, F.Interlaced,
                                                 F.Transparent, F.Index, false);
            if (!Img.Accepted) {
                break;
            }
            Want.push_back(std::move(Img));
            if (Want.back().EndPosition >= File.size()) {
                break;
            }
        }
        TGIFPicture G;
        const bool Ok = G.LoadFromBuffer(File.data(), File.size());
        ASSERT_EQ(Ok, !Want.empty()) << "case " << Case;
        ASSERT_EQ(G.FrameCount(), static_cast<int32_t>(Want.size())) << "case " << Case;
        for (size_t K = 0; K < Want.size(); ++K) {
            const TGIFFrame& F = *G.Frames(static_cast<int32_t>(K + 1));
            ASSERT_EQ(Bytes(F.Image.Data(), F.Image.Data() + F.Image.DataSize()), Want[K].Pixels)
                << "case " << Case << " frame " << K + 1;
            if (Frames[K].Transparent) {
                ASSERT_EQ(Bytes(F.Mask.Data(), F.Mask.Data() + F.Mask.DataSize()), Want[K].Mask)
                    << "case " << Case << " frame " << K + 1;
            }
        }
        // Composing every frame stays inside the picture (checked by the sanitizers).
        for (int32_t I = 2; I <= G.FrameCount(); ++I) {
            G.SetCurrentFrame(I);
        }
    }
}

} // namespace
} // namespace quillop::gif::test
