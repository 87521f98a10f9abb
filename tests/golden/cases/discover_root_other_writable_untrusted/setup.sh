mkdir .git
chmod 757 .
