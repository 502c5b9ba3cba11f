# Where the package puts its files, relative to the installation prefix
# (/usr for the Debian package). The application finds the simulated
# grabber's library from its own folder, so the two must move together.
set(PK_INSTALL_BINDIR bin)
set(PK_INSTALL_CLSERDIR lib/pk70app/clser)
set(PK_INSTALL_DATADIR share)
file(RELATIVE_PATH PK_CLSER_FROM_PROGRAM /prefix/${PK_INSTALL_BINDIR} /prefix/${PK_INSTALL_CLSERDIR})
# The desktop entry's and the metainfo's name; the application announces it
# so that the desktop matches its windows to the entry.
set(PK_APP_ID org.pk70app.PK70App)
