#include "tools/assetgen/score.h"

#include <cstring>
#include <stdexcept>

namespace assetgen {

int Score::addBars(int count, int rows)
{
    int first = this->rows();
    for (int i = 0; i < count; ++i)
        barRows_.push_back(rows);
    cells_.resize(cells_.size() + size_t(count) * size_t(rows) * size_t(channels_));
    return first;
}

writers::XmCell* Score::cell(int channel, int row)
{
    if (channel < 0 || channel >= channels_ || row < 0 || row >= rows())
        return nullptr;
    return &cells_[size_t(row) * channels_ + channel];
}

void Score::play(int channel, int row, uint8_t noteNumber, uint8_t instrument, int volume, int length)
{
    writers::XmCell* c = cell(channel, row);
    if (!c)
        return;
    c->note = noteNumber;
    c->instrument = instrument;
    c->volume = uint8_t(0x10 + (volume < 0 ? 0 : (volume > 64 ? 64 : volume)));
    if (length > 0)
        if (writers::XmCell* end = cell(channel, row + length); end && end->note == 0)
            end->note = kKeyOff;
}

void Score::effect(int channel, int row, uint8_t effect, uint8_t parameter)
{
    if (writers::XmCell* c = cell(channel, row)) {
        c->effect = effect;
        c->parameter = parameter;
    }
}

void Score::keyOff(int channel, int row)
{
    if (writers::XmCell* c = cell(channel, row); c && c->note == 0)
        c->note = kKeyOff;
}

namespace {

bool sameCells(const writers::XmPattern& a, const writers::XmPattern& b)
{
    if (a.rows != b.rows || a.cells.size() != b.cells.size())
        return false;
    for (size_t i = 0; i < a.cells.size(); ++i) {
        const writers::XmCell &x = a.cells[i], &y = b.cells[i];
        if (x.note != y.note || x.instrument != y.instrument || x.volume != y.volume || x.effect != y.effect ||
            x.parameter != y.parameter)
            return false;
    }
    return true;
}

} // namespace

writers::XmModule Score::module(const std::string& name, int bpm, int speed, std::vector<writers::XmInstrument> instruments,
                                int restartBar) const
{
    writers::XmModule m;
    m.name = name;
    m.channels = uint16_t(channels_);
    m.bpm = uint16_t(bpm);
    m.speed = uint16_t(speed);
    m.restartPosition = uint16_t(restartBar);
    m.instruments = std::move(instruments);
    size_t row = 0;
    for (int rows : barRows_) {
        writers::XmPattern pattern;
        pattern.rows = uint16_t(rows);
        pattern.cells.assign(cells_.begin() + long(row * channels_), cells_.begin() + long((row + rows) * channels_));
        row += size_t(rows);
        size_t index = 0;
        while (index < m.patterns.size() && !sameCells(m.patterns[index], pattern))
            ++index;
        if (index == m.patterns.size())
            m.patterns.push_back(std::move(pattern));
        m.order.push_back(uint8_t(index));
    }
    if (m.order.size() > 256 || m.patterns.size() > 256)
        throw std::runtime_error("module " + name + " has more than 256 bars");
    return m;
}

} // namespace assetgen
