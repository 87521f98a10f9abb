chmod 000 shop/private
