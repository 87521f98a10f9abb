ln -s shop/migrations/0002_order_number_idx.py link.py
