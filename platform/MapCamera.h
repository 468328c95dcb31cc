#pragma once

// A point on the earth in degrees.
struct MapCoordinate
{
    double latitude = 0;
    double longitude = 0;
    bool operator==(const MapCoordinate &) const = default;
};

// The size of a region in degrees of latitude and longitude.
struct MapSpan
{
    double latitudeDelta = 0;
    double longitudeDelta = 0;
    bool operator==(const MapSpan &) const = default;
};

// What a map shows: a region given by its centre and span. The map fits the span into its
// viewport, so the region it really shows may be larger in one direction.
struct MapCamera
{
    MapCoordinate center;
    MapSpan span;
    bool operator==(const MapCamera &) const = default;
};
