// SPDX-FileCopyrightText: 2026 The Vantoke developers
// SPDX-License-Identifier: MIT
#include "ScreenTimes.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

namespace vantoke {

namespace {

// Where the screen had no later commit, repaint or change, the change never got there.
constexpr double kNever = std::numeric_limits<double>::infinity();

} // namespace

// A frame arrives with the first commit of the game's surface after the change, and is presented
// at the end of the first repaint that begins after that commit. The game's surface is the one
// that committed most during the game; through XWayland it is XWayland's.
std::optional<ScreenTimes> screenTimesFromTimeline(const std::vector<Presser::Turn> &turns, const QString &path)
{
    QFile file(path);
    if (turns.empty() || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "no timeline to read in %s\n", qPrintable(path));
        return std::nullopt;
    }
    const auto seconds = [](const QJsonValue &pair) { return pair[0].toDouble() + pair[1].toDouble() * 1e-9; };
    const double from = turns.front().shown;
    const double to = turns.back().hidden + 0.5;
    QMap<int, std::vector<double>> commits; // by surface
    std::vector<std::pair<double, double>> repaints; // begun, presented
    double begun = 0.0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.startsWith('{'))
            continue;
        const QJsonObject event = QJsonDocument::fromJson(line).object();
        const QString name = event[QLatin1String("N")].toString();
        const double at = seconds(event[QLatin1String("T")]);
        if (at < from || at > to)
            continue;
        if (name == QLatin1String("core_commit_damage"))
            commits[event[QLatin1String("ws")].toInt()].push_back(at);
        else if (name == QLatin1String("core_repaint_begin"))
            begun = at;
        else if (name == QLatin1String("core_repaint_finished") && begun > 0.0)
            repaints.emplace_back(std::exchange(begun, 0.0), seconds(event[QLatin1String("vblank_monotonic")]));
    }
    const std::vector<double> *game = nullptr;
    for (const std::vector<double> &surface : commits)
        if (!game || surface.size() > game->size())
            game = &surface;
    if (!game || repaints.size() < 2) {
        std::fprintf(stderr, "the timeline in %s holds no frames of the game\n", qPrintable(path));
        return std::nullopt;
    }
    const auto arrival = [game](double change) {
        const auto found = std::lower_bound(game->begin(), game->end(), change);
        return found == game->end() ? kNever : *found;
    };
    const auto presented = [&repaints](double commit) {
        const auto found = std::lower_bound(repaints.begin(), repaints.end(), std::make_pair(commit, 0.0));
        return found == repaints.end() ? kNever : found->second;
    };
    ScreenTimes times;
    for (const Presser::Turn &turn : turns) {
        if (turn.hidden == 0.0)
            continue;
        ++times.lit;
        const double arrived = arrival(turn.shown);
        const double shownAt = presented(arrived);
        const double hiddenAt = presented(arrival(turn.hidden));
        if (!(shownAt < hiddenAt)) {
            ++times.unseen;
            continue;
        }
        times.arrive.push_back(arrived - turn.shown);
        times.present.push_back(shownAt - turn.shown);
        if (turn.pressed > 0.0 && hiddenAt != kNever)
            times.hidden.push_back(hiddenAt - turn.pressed);
        if (hiddenAt != kNever)
            times.litOff.push_back(std::abs((hiddenAt - shownAt) - (turn.hidden - turn.shown)));
    }
    for (std::size_t index = 1; index < repaints.size(); ++index)
        times.intervals.push_back(repaints[index].second - repaints[index - 1].second);
    return times;
}

// Each square's spells on screen are matched to its turns in order. A spell that began before a
// turn's show carries on an earlier turn of the same square, whose hiding never reached the
// screen: the square stayed lit, and the turn has no times of its own. A turn whose show was
// overtaken by the square's next show before a spell began never reached the screen.
ScreenTimes screenTimesFromFramebuffer(
    const std::vector<Presser::Turn> &turns, const std::vector<FramebufferWatch::Change> &changes)
{
    std::array<std::vector<std::pair<double, double>>, 6> spells; // on, off, for each square
    for (const FramebufferWatch::Change &change : changes) {
        auto &square = spells.at(static_cast<std::size_t>(change.point));
        if (change.changed)
            square.emplace_back(change.at, kNever);
        else if (!square.empty())
            square.back().second = change.at;
    }
    std::array<std::size_t, 6> next{}; // each square's first spell not yet matched
    ScreenTimes times;
    for (auto turn = turns.begin(); turn != turns.end(); ++turn) {
        if (turn->hidden == 0.0 || turn->square < 1 || turn->square > 6)
            continue;
        ++times.lit;
        const auto square = static_cast<std::size_t>(turn->square - 1);
        const auto &spell = spells.at(square);
        std::size_t &index = next.at(square);
        while (index < spell.size() && spell[index].second <= turn->shown)
            ++index;
        const auto again = std::find_if(
            turn + 1, turns.end(), [&](const Presser::Turn &later) { return later.square == turn->square; });
        const double relit = again == turns.end() ? kNever : again->shown;
        if (index == spell.size() || relit <= spell[index].first) {
            ++times.unseen;
            continue;
        }
        const auto [on, off] = spell[index];
        if (on < turn->shown)
            continue;
        times.arrive.push_back(on - turn->shown);
        times.present.push_back(on - turn->shown);
        if (off == kNever || relit < off)
            continue;
        if (turn->pressed > 0.0)
            times.hidden.push_back(off - turn->pressed);
        times.litOff.push_back(std::abs((off - on) - (turn->hidden - turn->shown)));
        ++index;
    }
    return times;
}

} // namespace vantoke
