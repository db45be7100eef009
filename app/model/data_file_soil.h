#pragma once
// Internal to the data-file writer and reader: where each soil type's parameters sit in the six slots
// of a layer's top and bottom records.

#include <array>

namespace app::model::soil_slots {

enum TConversion { kNone, kUnitWeight, kCohesion };

struct TSlot {
    int column;  // column of the nested parameter table; -1 for a filler
    TConversion conversion;
};

using TSlots = std::array<TSlot, 6>;

inline constexpr int kLayerTypes = 7;
inline constexpr TSlot kFiller{-1, kNone};

// Column orders follow the parameter tables: clay γ c E50 k K; sand γ φ k K; silt γ φ c E50 k K;
// strong rock γ qu; weak rock γ qu krm Er RQD.
inline constexpr TSlots kClay{
    {{0, kUnitWeight}, {1, kCohesion}, kFiller, {2, kNone}, {3, kNone}, {4, kNone}}};
inline constexpr TSlots kSand{{{0, kUnitWeight}, kFiller, {1, kNone}, kFiller, {2, kNone}, {3, kNone}}};
inline constexpr TSlots kSilt{
    {{0, kUnitWeight}, {2, kCohesion}, {1, kNone}, {3, kNone}, {4, kNone}, {5, kNone}}};
inline constexpr TSlots kStrongRock{{{0, kUnitWeight}, {1, kNone}, kFiller, kFiller, kFiller, kFiller}};
inline constexpr TSlots kWeakRock{
    {{0, kUnitWeight}, {1, kNone}, kFiller, {2, kNone}, {3, kNone}, {4, kNone}}};

/// Slots of soil type 1…7.
[[nodiscard]] inline const TSlots& ForType(int type) {
    static constexpr std::array<const TSlots*, kLayerTypes> byType{&kClay, &kClay,       &kClay,    &kSand,
                                                                   &kSilt, &kStrongRock, &kWeakRock};
    return *byType[static_cast<std::size_t>(type - 1)];
}

/// Table value → file value in English tables (lb/ft³ → lb/in³, lb/ft² → lb/in²).
[[nodiscard]] inline long double Divisor(TConversion conversion) {
    return conversion == kUnitWeight ? 1728.0L : conversion == kCohesion ? 144.0L : 1.0L;
}

}  // namespace app::model::soil_slots
