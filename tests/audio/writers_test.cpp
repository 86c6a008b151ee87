#include <cmath>

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include "audio/mp3_decoder.h"
#include "tools/writers/mp3_writer.h"
#include "tools/writers/xm_writer.h"

TEST(XmWriter, ModulesReadBackAsWrittenAndLimitsAreRefused)
{
    writers::XmModule module;
    module.name = "round trip";
    module.channels = 3;
    module.bpm = 140;
    module.order = {1, 0, 1};
    module.patterns.resize(2);
    module.patterns[1].rows = 32;
    module.patterns[1].cells.resize(3);
    module.patterns[1].cells[0] = {49, 1, 0, 0, 0};           // C-4, instrument 1
    module.patterns[1].cells[2] = {61, 2, 0x30, 0x0C, 0x20};  // C-5, instrument 2, volume 32, set volume 32
    for (const char* name : {"first", "second"}) {
        writers::XmInstrument instrument;
        instrument.name = name;
        instrument.sample = {0, 1000, -1000, 32767, -32768, 5};
        instrument.volumeEnvelope = {{0, 64}, {10, 32}, {40, 0}};
        instrument.sustainPoint = 1;
        module.instruments.push_back(instrument);
    }
    const std::vector<uint8_t> bytes = writers::encodeXm(module);
    ASSERT_FALSE(bytes.empty());

    std::ostream silent(nullptr);
    openmpt::module read(bytes, silent);
    EXPECT_EQ(read.get_metadata("title"), "round trip");
    EXPECT_EQ(read.get_num_channels(), 3);
    EXPECT_EQ(read.get_num_orders(), 3);
    EXPECT_EQ(read.get_num_patterns(), 2);
    EXPECT_EQ(read.get_pattern_num_rows(1), 32);
    EXPECT_EQ(read.get_instrument_names(), (std::vector<std::string>{"first", "second"}));
    const auto note = [&](int channel) { return read.get_pattern_row_channel_command(1, 0, channel, openmpt::module::command_note); };
    EXPECT_EQ(note(2) - note(0), 12);
    EXPECT_EQ(read.get_pattern_row_channel_command(1, 0, 2, openmpt::module::command_instrument), 2);
    EXPECT_EQ(note(1), 0);
    EXPECT_EQ(read.get_pattern_row_channel_command(1, 0, 2, openmpt::module::command_volume), 32);

    writers::XmModule broken = module;
    broken.channels = 0;
    EXPECT_TRUE(writers::encodeXm(broken).empty());
    broken = module;
    broken.patterns[0].rows = 0;
    EXPECT_TRUE(writers::encodeXm(broken).empty());
    broken = module;
    broken.instruments[0].loopStart = 4;
    broken.instruments[0].loopLength = 4;
    EXPECT_TRUE(writers::encodeXm(broken).empty());
    broken = module;
    broken.order.clear();
    EXPECT_TRUE(writers::encodeXm(broken).empty());
    EXPECT_FALSE(writers::writeXm("no_such_dir/x.xm", module));
}

TEST(Mp3Writer, DecodesToTheSameLengthAndShape)
{
    writers::Mp3Audio mono;
    mono.channels = 1;
    for (int i = 0; i < 30000; ++i)
        mono.samples.push_back(static_cast<int16_t>(10000 * std::sin(i * 0.03)));
    int error = 0;
    auto decoder = audio::Mp3Decoder::open(writers::encodeMp3(mono, {{"mark", 10, 20}}), 44100, &error);
    ASSERT_NE(decoder, nullptr) << error;

    // The encoder's delay and padding are stripped: the length is exact.
    std::vector<float> decoded(2 * 40000);
    ASSERT_EQ(decoder->read(decoded.data(), 40000), 30000);
    double difference = 0.0;
    for (int i = 1000; i < 29000; ++i) {
        EXPECT_EQ(decoded[2 * i], decoded[2 * i + 1]) << "mono plays on both sides";
        difference += std::fabs(decoded[2 * i] - mono.samples[size_t(i)] / 32768.0);
    }
    EXPECT_LT(difference / 28000, 0.01);

    writers::Mp3Audio odd;
    odd.samples = {1, 2, 3};
    EXPECT_TRUE(writers::encodeMp3(odd).empty());
}
