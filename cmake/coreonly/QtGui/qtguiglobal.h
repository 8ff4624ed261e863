// Stands in for Qt's own header in the layers that use Qt Core only.
#error "A Qt Gui or Qt Widgets header in a layer built on Qt Core only (game/, audio/, ui/main/layout.*): widgets belong in ui/, help/, tickets/ or app/"
