"""concurrent indexes

Revision ID: 7c8d9e0f1a2b
Revises: 5b6c7d8e9f01
Create Date: 2024-02-10 10:12:33.123456

"""
from typing import Sequence, Union

from alembic import op
import sqlalchemy as sa


# revision identifiers, used by Alembic.
revision: str = "7c8d9e0f1a2b"
down_revision: Union[str, None] = "5b6c7d8e9f01"
branch_labels: Union[str, Sequence[str], None] = None
depends_on: Union[str, Sequence[str], None] = None


def upgrade() -> None:
    with op.get_context().autocommit_block():
        op.create_index(
            "ix_orders_created_at",
            "orders",
            ["created_at"],
            postgresql_concurrently=True,
        )
        op.drop_index("ix_orders_customer_id", table_name="orders", postgresql_concurrently=True)


def downgrade() -> None:
    pass
