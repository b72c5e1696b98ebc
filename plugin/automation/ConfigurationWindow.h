// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"

// How the window's frame is drawn; the fixed styles cannot be resized.
enum class BorderStyle {
    None,
    FixedSingle,
    Sizable,
    FixedDialog,
    FixedToolWindow,
    SizableToolWindow
};
enum class WindowState { Normal, Minimized, Maximized };

// What the plug-in object needs of the configuration window. Geometry is in
// twips, the window system's coordinate unit.
class ConfigurationWindow {
public:
    virtual ~ConfigurationWindow() = default;

    // The window's Object Server control; asking for it loads the window hidden.
    virtual lns::Ref<lns::ObjectServer> ObjectServer() = 0;

    virtual bool Visible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual ::BorderStyle BorderStyle() const = 0;
    virtual ::WindowState WindowState() const = 0;
    virtual void setWindowState(::WindowState state) = 0;

    virtual int Height() const = 0;
    virtual void setHeight(int twips) = 0;
    virtual int Width() const = 0;
    virtual void setWidth(int twips) = 0;
    virtual int Left() const = 0;
    virtual void setLeft(int twips) = 0;
    virtual int Top() const = 0;
    virtual void setTop(int twips) = 0;
    // The screen's twips per pixel along each axis.
    virtual double TwipsPerPixelX() const = 0;
    virtual double TwipsPerPixelY() const = 0;

    // The busy mouse pointer while the plug-in works, the normal one after.
    virtual void setBusyPointer(bool busy) = 0;

    virtual void ProcessDeviceCommand(const lns::Ref<lns::AppDevice>& TheDevice,
                                      qint32 commandId) = 0;
    virtual void ProcessLonMarkObjectCommand(const lns::Ref<lns::LonMarkObject>& TheLMObject,
                                             qint32 commandId) = 0;
    // Closes what is open and ends the plug-in process.
    virtual void EndPlugIn() = 0;
};
