# The installer, trelvane-<version>-win64-setup.exe, made by NSIS from the staged folder
# with installer.nsi; its pictures and its licence page are made here too.
find_program(MAKENSIS makensis REQUIRED)
find_program(CONVERT convert REQUIRED)

# LICENSE as the licence page shows it: each paragraph one line, which the page wraps to its
# own width, and the line ends of Windows.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "([^\n])\n([^\n])" "\\1 \\2" license "${license}")
string(REPLACE "\n" "\r\n" license "${license}")
set(license_page ${CMAKE_CURRENT_BINARY_DIR}/license-page.txt)
file(WRITE ${license_page} "${license}")

# The pictures of the welcome and finish pages (164 x 314) and of the other pages' header
# (150 x 57), with the program's icon; NSIS takes them as 24-bit bitmaps only.
set(wizard_icon ${CMAKE_CURRENT_BINARY_DIR}/icon/wizard.png)
set(wizard_bmp ${CMAKE_CURRENT_BINARY_DIR}/wizard.bmp)
set(header_bmp ${CMAKE_CURRENT_BINARY_DIR}/header.bmp)
add_custom_command(OUTPUT ${wizard_icon}
  COMMAND ${RSVG_CONVERT} --width=128 --height=128 --output=${wizard_icon} ${icon_svg}
  DEPENDS ${icon_svg})
add_custom_command(OUTPUT ${wizard_bmp}
  COMMAND ${CONVERT} -size 164x314 "gradient:#fdfbf7-#e4dccd"
          ${wizard_icon} -gravity north -geometry +0+48 -composite
          -alpha off -type TrueColor BMP3:${wizard_bmp}
  DEPENDS ${wizard_icon})
add_custom_command(OUTPUT ${header_bmp}
  COMMAND ${CONVERT} -size 150x57 xc:white
          ${CMAKE_CURRENT_BINARY_DIR}/icon/48.png -gravity east -geometry +8+0 -composite
          -alpha off -type TrueColor BMP3:${header_bmp}
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/icon/48.png)
add_custom_target(trelvane_installer_pictures DEPENDS ${wizard_bmp} ${header_bmp} ${TRELVANE_ICO})

set(setup ${PROJECT_BINARY_DIR}/${TRELVANE_PACKAGE_NAME}-setup.exe)
set(files_nsh ${CMAKE_CURRENT_BINARY_DIR}/installer-files.nsh)
add_custom_target(trelvane_installer
  COMMAND ${CMAKE_COMMAND} -D STAGE=${TRELVANE_STAGE} -D OUTPUT=${files_nsh}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/installer_files.cmake
  # -WX: any warning of NSIS fails the build.
  COMMAND ${MAKENSIS} -V2 -WX
          -DVERSION=${PROJECT_VERSION} -DVERSION_QUAD=${TRELVANE_VERSION_QUAD}
          -DPUBLISHER=${TRELVANE_PUBLISHER} -DCOPYRIGHT=${TRELVANE_COPYRIGHT}
          -DDESCRIPTION=${PROJECT_DESCRIPTION}
          -DSTAGE=${TRELVANE_STAGE} -DFILES=${files_nsh} -DLICENSE_PAGE=${license_page}
          -DICON=${TRELVANE_ICO} -DWIZARD_BITMAP=${wizard_bmp} -DHEADER_BITMAP=${header_bmp}
          -DOUTFILE=${setup}
          ${CMAKE_CURRENT_SOURCE_DIR}/installer.nsi
  BYPRODUCTS ${setup} ${files_nsh}
  COMMENT "Making ${TRELVANE_PACKAGE_NAME}-setup.exe"
  VERBATIM)
add_dependencies(trelvane_installer trelvane_stage trelvane_installer_pictures)
