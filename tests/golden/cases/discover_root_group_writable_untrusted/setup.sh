mkdir .git
chmod 775 .
