// The skinned button's messages, exactly as the user sees them (trailing spaces included).
#pragma once

namespace skinbutton {

inline constexpr const wchar_t* kMsgColorSchemasUseSkins =
    L"No se puede cambiar este valor si la propiedad 'ColorSchemas' se encuentra en 'useSkins'"; // M1
inline constexpr const wchar_t* kMsgSkinEnabledTrue =
    L"Si la propiedad SkinEnabled se encuentra en 'true', no se puede cambiar el valor de esta propiedad"; // M2
inline constexpr const wchar_t* kMsgLinkColours =
    L"El Skin estilo 'Link' solo admite cambio en las propiedades de ForeColor ( Colores de fuente ), pero no en "
    L"los colores de fondo y en los colores para los bordes"; // M3
inline constexpr const wchar_t* kMsgFormatTextFont =
    L"No se puede cambiar el valor de esta propiedad si la propiedad EnabledFormatText se encuentra en 'True' "; // M4
inline constexpr const wchar_t* kMsgFormatTextUnderline =
    L"No se puede cambiar el valor de esta propiedad si la propiedad EnabledFormatText se encuentra en 'True'  "; // M5
inline constexpr const wchar_t* kMsgSkinDisabled =
    L"La propiedad SkinEnabled se encuentra en False. Para cambiar un skin primero establezca la propiedad "
    L"SkinEnabled en 'True' "; // M6
inline constexpr const wchar_t* kMsgLinkWithFormatText =
    L"La opción de Link no se puede usar cuando la propiedad EnabledFormatText está en True "; // M7
inline constexpr const wchar_t* kMsgColorSchemasCustom =
    L"Esta opción es para usar cuando la propiedad SkinEnabled está desactivada. Para usar colores personalizados de "
    L"fuente, borde y fondo para botones sin Skin, seleccionae la opción [None] de la propiedad ColorSchema, o "
    L"establezca la opción SkinEnabled en False"; // M8

inline constexpr const wchar_t* kMsgTextureTooNarrow =
    L"El ancho de la imagen de textura es menor al ancho del texto del botón. La imagen debe ser igual o mas grande";
inline constexpr const wchar_t* kMsgTextureTooLow =
    L"El alto de la imagen de textura es menor al alto del texto del botón. La imagen debe ser igual o mas grande";
inline constexpr const wchar_t* kMsgPictureNotLoaded = L"No se pudo cargar la imagen: "; // followed by the path
inline constexpr const wchar_t* kMsgPictureNotLoadedTitle = L"Error";

} // namespace skinbutton
