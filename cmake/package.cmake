# The release zip of the Windows build: toolbar1.exe, its dictionary, the README and the
# licence, flat at the top of velmora-system-info-<version>-win64.zip. After building toolbar1
# (which also makes toolbar1.mld), `cpack` in the build folder writes the zip there.
# Only the "app" component goes in: the test libraries' own install rules stay out.
install(TARGETS toolbar1 RUNTIME DESTINATION . COMPONENT app)
install(FILES ${PROJECT_BINARY_DIR}/toolbar1.mld ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION . COMPONENT app)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME "Velmora System Info")
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "velmora-system-info-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};app;/")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)

if(VSI_TESTS)
  # Makes the zip and checks what it holds and what the exe in it carries. Without Python the
  # test is still there, and fails saying why, rather than vanish from the count.
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_FOUND)
    add_test(NAME package
             COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/package/package_test.py
                     --cpack ${CMAKE_CPACK_COMMAND} --build ${PROJECT_BINARY_DIR} --source ${PROJECT_SOURCE_DIR})
  else()
    add_test(NAME package
             COMMAND ${CMAKE_COMMAND} "-DMESSAGE=package test not run: Python 3 was not found at configure time"
                     -P ${PROJECT_SOURCE_DIR}/cmake/fail.cmake)
  endif()
endif()
