# Copies the story flag files into the game folder, but only those missing
# there: the player's flags must survive every rebuild.
file(MAKE_DIRECTORY "${TARGET}")
file(GLOB flags RELATIVE "${SOURCE}" "${SOURCE}/*.gdf")
foreach(flag IN LISTS flags)
  if(NOT EXISTS "${TARGET}/${flag}")
    file(COPY "${SOURCE}/${flag}" DESTINATION "${TARGET}")
  endif()
endforeach()
