chmod 000 shop/migrations/0003_private.py
