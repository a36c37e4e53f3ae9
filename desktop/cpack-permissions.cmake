# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack between staging the install and packing it: the folders of the
# package are 0755 whatever the umask of whoever builds it (the files have
# their modes from the install rules already).
file(GLOB_RECURSE folders LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(folder IN LISTS folders)
    if(IS_DIRECTORY "${folder}" AND NOT IS_SYMLINK "${folder}")
        file(CHMOD "${folder}" DIRECTORY_PERMISSIONS
             OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endif()
endforeach()
