"""invoices table

Revision ID: 5b6c7d8e9f01
Revises: 3f2a1b9c8d7e
Create Date: 2024-02-10 10:12:33.123456

"""
from typing import Sequence, Union

from alembic import op
import sqlalchemy as sa


# revision identifiers, used by Alembic.
revision: str = "5b6c7d8e9f01"
down_revision: Union[str, None] = "3f2a1b9c8d7e"
branch_labels: Union[str, Sequence[str], None] = None
depends_on: Union[str, Sequence[str], None] = None


def upgrade() -> None:
    op.create_table(
        "invoices",
        sa.Column("id", sa.Integer(), nullable=False),
        sa.Column("number", sa.String(length=32), nullable=False),
        sa.PrimaryKeyConstraint("id"),
    )
    op.create_index("ix_invoices_number", "invoices", ["number"], unique=True)
    op.create_index("ix_invoices_number_archive", "invoices", ["number"], schema="archive")
    op.drop_index("ix_invoices_number", table_name="invoices")
    op.execute("ANALYZE invoices")
    op.create_index("ix_invoices_id", table_name="invoices", columns=["id"])


def downgrade() -> None:
    op.drop_table("invoices")
