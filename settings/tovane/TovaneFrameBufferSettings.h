#pragma once

#include "Catalogue.h"

// The "FrameBuffer" page of a Tovane camera: what the camera does with whole
// frames in its frame memory: averaging over 1 to 16 frames, wide dynamic
// range, and the frame operation tap. Nothing is read until the user asks.
class TovaneFrameBufferSettings : public PageSettings {
    Q_OBJECT
public:
    TovaneFrameBufferSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    // The number of frames averaged: 1, 2, 4, 8 or 16.
    Setting* averaging = nullptr;
    Setting* wideDynamicRange = nullptr;
    // 0 (no conversion) to 3.
    Setting* frameOperationTap = nullptr;
};
